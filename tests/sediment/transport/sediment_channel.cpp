// The channel of the sediment-transport tests.
#include "sediment/transport/sediment_channel.h"

#include "files/channel_fields.h"
#include "model/cells.h"
#include "model/structured.h"
#include "startup/control_reader.h"

void SedimentChannel::load(const std::string &extraControl) {
  kreadDefaults();
  generateChannel("S 1 0.0002 0.025\n" + extraControl);
}

int bottomOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }

int cellAbove(int c, int m) {
  for (; m > 0; --m) c = Ccellt[c];
  return c;
}
