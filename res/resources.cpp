#include "res/resources.h"

#include <QtCore/qglobal.h>
#include <QDir>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitResourcesOnce() {
    Q_INIT_RESOURCE(vellumo);
}

namespace vellumo::res {

void InitVellumoResources() {
    static const bool done = (InitResourcesOnce(), true);
    (void)done;
}

}  // namespace vellumo::res
