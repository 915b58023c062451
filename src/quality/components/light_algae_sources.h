// The light, algae, colony-density and migration terms of the component
// source table.
#pragma once

#include "quality/components/component_terms.h"

// Adds the light-dependent growth and uptake, the fixed light and density
// values and the vertical migration of the component's records to Cap and
// Csource.
void CompSourceAlgae(const ComponentTerms &terms);

// The surface irradiance at stimet for a term of the type: 0 without
// "timei" rows, and for the types that use the irradiance without making
// the "timei" reader read it, when no other term does (said once per type).
double irradianceFor(int type);
