#include "ui/AppIcon.h"

#include <QtGlobal>

// The images are resources of this library; a static library has to register them itself.
// (Outside any namespace: the registration function is declared where this is called.)
static void UseResources() {
    static const bool bRegistered = [] {
        Q_INIT_RESOURCE(songloader);
        return true;
    }();
    Q_UNUSED(bRegistered);
}

QIcon AppIcon() {
    UseResources();
    return QIcon(":/songloader/songloader.png");
}

QPixmap OrvikBadge() {
    UseResources();
    return QPixmap(":/songloader/orvik-badge.png");
}

QPixmap MelkoBadge() {
    UseResources();
    return QPixmap(":/songloader/melko-badge.png");
}
