// Compiled by CTest with one layer's include directories and one header named on the
// command line: a header of a layer above must not be found, one below must.
#define YB_PROBE_STRING2(x) #x
#define YB_PROBE_STRING(x) YB_PROBE_STRING2(x)
#include YB_PROBE_STRING(YB_PROBE_HEADER)
