/* A library that offers only one of the functions the binder needs. */
#include <stdint.h>

__attribute__((visibility("default"))) int32_t CreateVum(int32_t wnd, int32_t msgBase)
{
    (void)wnd;
    (void)msgBase;
    return 1;
}
