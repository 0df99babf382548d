// Kept for tests that include it: everything is in reading_fixture.h.
#include "reading_fixture.h"
