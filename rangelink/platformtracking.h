#pragma once
// The UUT pose: the local tangent plane frame set up from "config.txt" once per session, and the
// pass over the discovered Platform objects in every cycle of the session thread.

#include "basicimpl/platform/platformbasic.h"
#include "middleware/middleware.h"
#include "models/localclasses/localtangentplane.h"
#include "rangelink/configurationfile.h"
#include "rangelink/vkrsimpublication.h"

#include <ostream>

namespace rangelink {

using LtpFrameHandle = ORVA::Middleware::SmartPtr<ORVA::LocalTangentPlaneENUspatialReferenceFrame::Interface>;

// A new frame: WGS-84, then latitude, longitude, azimuth, X and Y false origins and height offset
// from the configuration, unchanged (degrees and metres).
LtpFrameHandle setUpFrame(const ConfigurationFile& config);

}  // namespace rangelink

// Walks the discovered list from front to back: prints the count line and eleven report lines
// per Platform to `out`, stores each pose in the state block and publishes one VKRsim update per
// Platform. Runs on the session thread between two evokeMultipleCallbacks calls; the list must
// not be empty. Failures of the middleware propagate.
void trackPlatforms(ORVA::Platform::BasicImpl::CallbackInfo& callbackInfo, const rangelink::LtpFrameHandle& frame,
                    const rangelink::VKRsimServantHandle& servant, std::ostream& out);
