// Time-series output "timeo": one row per call in transient runs.
#pragma once

void TimePrintFunction();
