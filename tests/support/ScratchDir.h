#pragma once

#include <QString>

// An empty folder of the running test, created on the first call in that test and returned again
// for later calls in the same test. It is removed when a later test asks for its own folder or
// when the program ends. Fails the test (and returns an empty string) when no folder can be made.
// REQUIRES: called from the test program's main thread.
QString ScratchDir();
