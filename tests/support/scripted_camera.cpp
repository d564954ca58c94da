#include "scripted_camera.h"

#include <algorithm>

namespace crinova::test {

void ScriptedCamera::open(const QString& id) {
    close();
    ++opens;
    const bool known = std::any_of(devices.begin(), devices.end(),
                                   [&](const CameraInfo& camera) { return camera.id == id; });
    if (!known || openFault) {
        const CameraFault fault = known ? *openFault : CameraFault::NoCamera;
        openFault.reset();
        emit this->fault(fault);
        return;
    }
    openId = id;
}

void ScriptedCamera::capture() {
    ++captures;
    if (!isOpen() || failNextStill) {
        failNextStill = false;
        emit fault(CameraFault::StillFailed);
        return;
    }
    emit still(stillPicture);
}

void ScriptedCamera::close() {
    if (isOpen()) {
        ++closes;
        openId.clear();
    }
}

void ScriptedCamera::deliver(const QImage& picture) {
    if (isOpen()) {
        emit frame(picture);
    }
}

void ScriptedCamera::unplug() {
    const QString gone = openId;
    std::erase_if(devices, [&](const CameraInfo& camera) { return camera.id == gone; });
    openId.clear();
    emit fault(CameraFault::Unplugged);
    emit camerasChanged();
}

}  // namespace crinova::test
