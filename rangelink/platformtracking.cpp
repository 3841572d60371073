#include "rangelink/platformtracking.h"

#include "stateblock/stateblock.h"

using ORVA::Middleware::SmartPtr;

namespace rangelink {

LtpFrameHandle setUpFrame(const ConfigurationFile& config)
{
    LtpFrameHandle frame = ORVA::LocalTangentPlaneENUspatialReferenceFrame::Interface::create();
    frame->set_ellipsoid(0);
    frame->set_latitude(config.getLtpLatitude());
    frame->set_longitude(config.getLtpLongitude());
    frame->set_azimuth(config.getLtpAzimuth());
    frame->set_XFalseOrigin(config.getLtpXFalseOrigin());
    frame->set_YFalseOrigin(config.getLtpYFalseOrigin());
    frame->set_heightOffset(config.getLtpHeightOffset());
    return frame;
}

}  // namespace rangelink

using namespace rangelink;

void trackPlatforms(ORVA::Platform::BasicImpl::CallbackInfo& callbackInfo, const LtpFrameHandle& frame,
                    const VKRsimServantHandle& servant, std::ostream& out)
{
    auto& discovered = callbackInfo.getDiscoveredSDOlist();
    out << "Number of Platforms = " << discovered.size() << std::endl;
    int platformCounter = 1;
    for (const auto& entry : discovered) {
        out << "Stuff for Platform # " << platformCounter << std::endl;
        ++platformCounter;

        // The entry's handles, released at the end of each iteration in reverse order.
        ORVA::Platform::ProxyHandle pPlatformProxy = entry;
        SmartPtr<ORVA::Platform::ImmutablePublicationState> pubState = pPlatformProxy->getPublicationState();
        SmartPtr<ORVA::TSPI::Interface> this_pubState_tspi = pubState->get_tspi();
        SmartPtr<ORVA::Position::Interface> ltp_pos = this_pubState_tspi->getPositionIn(frame);
        SmartPtr<ORVA::Orientation::Interface> ltp_ori = this_pubState_tspi->getOrientationIn(frame);
        SmartPtr<ORVA::Velocity::Interface> ltp_vel = this_pubState_tspi->getVelocityIn(frame);

        const double x = ltp_pos->get_x();
        const double y = ltp_pos->get_y();
        const double z = ltp_pos->get_z();
        const float psi = ltp_ori->get_psi();
        const float theta = ltp_ori->get_theta();
        const float phi = ltp_ori->get_phi();
        out << "X pos = " << x << std::endl;
        out << "Y pos = " << y << std::endl;
        out << "Z pos = " << z << std::endl;
        out << "X psi = " << psi << std::endl;
        out << "Y theta = " << theta << std::endl;
        out << "Z phi = " << phi << std::endl;
        out << "X vel = " << ltp_vel->get_x() << std::endl;
        out << "Y vel = " << ltp_vel->get_y() << std::endl;
        out << "Z vel = " << ltp_vel->get_z() << std::endl;

        SmartPtr<ORVA::Time::Interface> pTime = pubState->get_timeStamp();
        SmartPtr<ORVA::Time::UnixTime> pUnixTime = pTime->toUnixTime();
        out << "Time Stamp = " << pUnixTime->get_seconds() << std::endl;

        stateBlock.uutX = x;
        stateBlock.uutY = y;
        stateBlock.uutZ = z;
        stateBlock.uutPsi = psi;
        stateBlock.uutTheta = theta;
        stateBlock.uutPhi = phi;

        publishView(servant);
    }
}
