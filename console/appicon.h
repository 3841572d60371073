#pragma once
// The application icon (resource 128): a sight reticle, drawn at start.

#include <QIcon>

QIcon loadApplicationIcon();
