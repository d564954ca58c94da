#include "platform/camera.h"

namespace crinova {

QString cameraFaultMessage(CameraFault fault) {
    switch (fault) {
        case CameraFault::NoCamera:
            return QStringLiteral(
                "No se ha encontrado ninguna cámara. Conecte una cámara o elija una foto "
                "guardada.");
        case CameraFault::InUse:
            return QStringLiteral(
                "La cámara la está usando otro programa. Ciérrelo y pulse «Repetir», o elija una "
                "foto guardada.");
        case CameraFault::AccessDenied:
            return QStringLiteral(
                "El sistema no deja usar la cámara a este usuario (hay que añadirlo al grupo "
                "«video»). Elija una foto guardada mientras tanto.");
        case CameraFault::Unplugged:
            return QStringLiteral(
                "Se ha desconectado la cámara. Vuelva a conectarla, o elija una foto guardada.");
        case CameraFault::StillFailed:
            return QStringLiteral(
                "La cámara no ha entregado la foto. Pulse «Capturar» para intentarlo otra vez.");
        case CameraFault::Failed:
            break;
    }
    return QStringLiteral(
        "La cámara ha dejado de funcionar. Pulse «Repetir» para intentarlo otra vez, o elija una "
        "foto guardada.");
}

}  // namespace crinova
