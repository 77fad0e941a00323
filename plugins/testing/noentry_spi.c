/* A shared object named like a picture plug-in that lacks IsSupported and GetPicture: the
 * host must unload it again. */
#include <string.h>

__attribute__((visibility("default"))) int GetPluginInfo(int infono, char* buf, int buflen) {
    if (infono != 0 || buflen < 5) return 0;
    memcpy(buf, "00IN", 5);
    return 4;
}
