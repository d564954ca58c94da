#include "main_window/folder_names.h"

namespace crinova {

QString sampleHairName(int number) {
    return QStringLiteral("\\pelo%1.jpg").arg(number);
}

QString sampleMaskName(int number) {
    return QStringLiteral("\\mpelo%1.jpg").arg(number);
}

QString slotFileName(int number) {
    return QStringLiteral("\\foto%1.bmp").arg(number);
}

QString clientPhotoCopyName(int number) {
    return kClientsFolder + QStringLiteral("\\foto%1.bmp").arg(number);
}

}  // namespace crinova
