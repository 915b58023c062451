// How the threads of a run wait between parallel regions. The OpenMP runtime
// reads its waiting rule once, when the process loads it, so the engine
// settles the rule by starting itself again with it set.
#pragma once

#include <string>

// The thread count that "control" in the working folder asks for by F 206,
// 0 when it asks for none or the file cannot be read.
int threadsAskedInControl(const std::string &path);

// True when the runnable tasks besides this process and the asked threads
// need more cores than the machine has.
bool machineBusyFor(int threads, int others, int cores);

// On a machine busy with other work, a run of two or more threads waits by
// a short spin and then sleeps, instead of spinning for milliseconds against
// the other work: the process starts itself again with GOMP_SPINCOUNT set.
// A waiting rule the user set (OMP_WAIT_POLICY or GOMP_SPINCOUNT) is kept.
// Returns only when the process goes on as it is.
void settleThreadWaiting(char **argv);
