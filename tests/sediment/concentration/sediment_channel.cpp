// The sediment tests' channel with its two discharge groups.
#include "sediment/concentration/sediment_channel.h"

#include "model/control_tables.h"
#include "model/settings.h"

void SedimentChannel::SetUp() {
  FlowFixture::SetUp();
  FlagTSC = tsc_;
  channel(10.0);
  setGroup(1, 1, 7500.0, upstreamFaces());
  setGroup(2, 0, 7500.0, downstreamFaces());
  CompInflowNo = 1;
  CompInflow[1].conc[1] = 0.001;
}
