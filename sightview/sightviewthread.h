#pragma once
// Entry of the render thread, in the form ACE_Thread_Manager::spawn runs. The argument is not
// read; the result is 0 on every path.

#include <ace/Thread_Manager.h>

ACE_THR_FUNC_RETURN sightViewThread(void* unused);
