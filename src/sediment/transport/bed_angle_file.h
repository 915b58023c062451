// The optional file "bedangle": per water column the critical bed angles of
// the slope correction of the critical shear and the angle of repose of the
// sand slide.
#pragma once

// Gives every bed cell the angles of F 109 and F 56, then reads the records
// "i j upslope downslope limit repose" (angles in degrees) of "bedangle"
// over them; without the file nothing changes.
void readBedangle();
