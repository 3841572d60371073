#pragma once
// libHALC-VKRsim-v4-basic-v1: the basic-implementation families of HALC::VKRsim,
// HALC::SceneGenerator and HALC::ForceFeedback, and the library's link-forcing integer.

#include "basicimpl/mission/forcefeedbackbasicimpl.h"
#include "basicimpl/mission/linkforce.h"
#include "basicimpl/mission/scenegeneratorbasicimpl.h"
#include "basicimpl/mission/vkrsimbasicimpl.h"
