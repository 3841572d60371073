#include "rangelink/sessionthread.h"

// The range link arrives with the middleware; until then the thread ends at once.
ACE_THR_FUNC_RETURN sessionThread(void*)
{
    return 0;
}
