#pragma once

#include <QIcon>
#include <QPixmap>

// The program's icon and the logo badges of the two device models, kept as resources.
QIcon AppIcon();
QPixmap OrvikBadge();
QPixmap MelkoBadge();
