#include "resources/qt/qt_resources.h"

#include <QtGlobal>
#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterTetrakonResources() {
    Q_INIT_RESOURCE(tetrakon);
}

namespace tetrakon {

void LoadQtResources() {
    static std::once_flag once;
    std::call_once(once, RegisterTetrakonResources);
}

}  // namespace tetrakon
