#pragma once
// The application icon (resource 128): a sight reticle, drawn at start.

#include <QIcon>

namespace console {

QIcon loadApplicationIcon();

}  // namespace console
