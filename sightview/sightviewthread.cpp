#include "sightview/sightviewthread.h"

// The sight window arrives with the renderer; until then the thread ends at once.
ACE_THR_FUNC_RETURN sightViewThread(void*)
{
    return 0;
}
