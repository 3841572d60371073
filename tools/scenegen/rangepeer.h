#pragma once
// scenegen on the range: joins the execution, follows VKRsim and Platform objects, and publishes
// its own SceneGenerator object. Everything here runs on the calling (main) thread: callbacks
// run only inside pump().

#include "middleware/middleware.h"
#include "models/localclasses/localtangentplane.h"
#include "models/mission/scenegenerator.h"
#include "models/mission/vkrsim.h"
#include "models/platform/platform.h"
#include "tools/scenegen/scene.h"
#include "tools/scenegen/view.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scenegen {

using FrameHandle = ORVA::Middleware::SmartPtr<ORVA::LocalTangentPlaneENUspatialReferenceFrame::Interface>;

// What the callbacks keep: the objects of each class in order of discovery.
struct RangeObjects {
    std::vector<ORVA::Middleware::ManagedPtr<HALC::VKRsim::Proxy>> vkrsims;
    std::vector<ORVA::Middleware::ManagedPtr<ORVA::Platform::Proxy>> platforms;
    std::vector<ORVA::Middleware::SDOid> destroyedVKRsims;  // since the last look, for the log
};

struct SceneGeneratorIdentity {
    std::string endPoint;            // "ADDR:PORT"
    std::string terrainDescription;  // one line
};

class RangePeer {
public:
    // Joins `execution` and publishes the SceneGenerator object (identity and terrain; the end
    // point follows with announceFeed). `follow`: the text form of the
    // VKRsim object to follow, or empty for the first one discovered. Middleware failures raise.
    RangePeer(const std::string& execution, const std::string& initRef, FrameHandle frame,
              const SceneGeneratorIdentity& identity, std::optional<std::string> follow);
    ~RangePeer();  // withdraws the object, then leaves the execution
    RangePeer(const RangePeer&) = delete;
    RangePeer& operator=(const RangePeer&) = delete;

    // Sets the object's endPoint: called once the first picture has gone there, so a sight that
    // sees the end point finds pictures flowing. Later calls do nothing.
    void announceFeed();

    // Runs pending callbacks; waits up to `limit` for the first when none is pending.
    void pump(std::chrono::microseconds limit);

    // The VKRsim object followed now (the one named, else the earliest discovered still there):
    // its view values, or nothing when there is none. `id` receives its identity text.
    std::optional<VKRsimView> followedView(std::string& id);
    // Identities of followed candidates destroyed since the last call.
    std::vector<std::string> takeDestroyed();

    // Every Platform's pose in the frame (those whose TSPI the frame cannot convert are left out).
    std::vector<PlatformPose> platformPoses() const;

private:
    FrameHandle frame_;
    std::optional<std::string> follow_;
    std::shared_ptr<RangeObjects> objects_;
    std::string endPoint_;
    bool announced_ = false;
    // Held in order of creation, released in reverse.
    ORVA::Middleware::SmartPtr<ORVA::Middleware::Runtime> runtime_;
    ORVA::Middleware::ManagedPtr<ORVA::Middleware::Execution> execution_;
    ORVA::Middleware::ManagedPtr<ORVA::Middleware::Session> session_;
    ORVA::Middleware::ManagedPtr<ORVA::Middleware::SDO::ServantFactory<HALC::SceneGenerator::ServantTraits>> factory_;
    ORVA::Middleware::ManagedPtr<HALC::SceneGenerator::Servant> servant_;
};

// Text form of an identity, as the middleware prints it.
std::string idText(const ORVA::Middleware::SDOid& id);

}  // namespace scenegen
