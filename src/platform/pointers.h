#pragma once

#include <QCursor>

namespace crinova {

// The program's pointer codes.
enum PointerCode { kPointerDefault = 0, kPointerCross = 2, kPointerMove = 5, kPointerBusy = 11 };

inline QCursor cursorFor(int code) {
    switch (code) {
        case kPointerCross:
            return QCursor(Qt::CrossCursor);
        case kPointerMove:
            return QCursor(Qt::SizeAllCursor);
        case kPointerBusy:
            return QCursor(Qt::WaitCursor);
        default:
            return QCursor(Qt::ArrowCursor);
    }
}

}  // namespace crinova
