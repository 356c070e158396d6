// The test program's application object.
#include "test_app.h"

CTestApp g_testApp;
