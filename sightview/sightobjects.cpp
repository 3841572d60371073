#include "sightview/sightobjects.h"

#include <new>
#include <utility>

namespace {

// Holds a T built in place and never runs its destructor (see the header).
template <typename T>
class Immortal {
public:
    template <typename... Args>
    explicit Immortal(Args&&... args)
    {
        new (storage_) T(std::forward<Args>(args)...);
    }
    T& get() noexcept { return *std::launder(reinterpret_cast<T*>(storage_)); }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
};

Immortal<osg::ref_ptr<osgViewer::CompositeViewer>> viewer{new osgViewer::CompositeViewer};
Immortal<osg::ref_ptr<osgGA::TrackballManipulator>> trackball{new osgGA::TrackballManipulator};
Immortal<osg::ref_ptr<osg::Texture2D>> texture{new osg::Texture2D};
Immortal<osg::ref_ptr<osgViewer::View>> view;

}  // namespace

namespace sightview {

std::atomic<osgViewer::View*> currentSightView{nullptr};

osgViewer::CompositeViewer& sightViewer() { return *viewer.get(); }
osgGA::TrackballManipulator& sightTrackball() { return *trackball.get(); }
osg::ref_ptr<osgViewer::View>& sightViewHolder() { return view.get(); }

}  // namespace sightview

osg::Texture2D& screenTexture() { return *texture.get(); }
