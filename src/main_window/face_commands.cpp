// Fitting the hair to the client's face, found or clicked, and preparing a new client's photo.
#include "main_window/face_commands.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>

#include "face/face_fit.h"
#include "geometry/rotation.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"
#include "program/folder_names.h"

namespace crinova {
namespace {

bool isMouseEvent(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

}  // namespace

FaceCommands::FaceCommands(const ProgramFolder& folder, Database& database, Dialogs& dialogs,
                           Window window, QObject* parent)
    : QObject(parent),
      folder_(folder),
      database_(database),
      dialogs_(dialogs),
      window_(std::move(window)) {}

FaceCommands::~FaceCommands() {
    qApp->removeEventFilter(this);
}

void FaceCommands::connectActions(QAction* mnuajustarcara, QAction* mnuajustarclics,
                                  QAction* mnuguardar) {
    mnuajustarcara_ = mnuajustarcara;
    mnuajustarclics_ = mnuajustarclics;
    connect(mnuajustarcara, &QAction::triggered, this, &FaceCommands::mnuajustarcara_Click);
    connect(mnuajustarclics, &QAction::triggered, this, &FaceCommands::mnuajustarclics_Click);
    const auto follow = [this, mnuajustarcara, mnuajustarclics](bool enabled) {
        mnuajustarcara->setEnabled(enabled);
        mnuajustarclics->setEnabled(enabled);
        if (!enabled) {
            leaveClickMode();
        }
    };
    follow(mnuguardar->isEnabled());
    connect(mnuguardar, &QAction::enabledChanged, this, follow);
}

QSize FaceCommands::mainSize() const {
    return {window_.buffers.fprincipal.ScaleWidth(), window_.buffers.fprincipal.ScaleHeight()};
}

std::optional<EyePair> FaceCommands::modelEyes() {
    const ModelEyes::Answer answer =
        modelEyes_.eyes(folder_.fullPath(kBasePhoto), kBasePhoto, database_);
    if (!answer.eyes) {
        // Looked for again next time: the salon may mend the photo or the table meanwhile.
        modelEyes_.forget();
        dialogs_.MsgBox(modelEyesMissingMessage(kBasePhoto), MessageButtons::Ok,
                        MessageIcon::Information, QString::fromUtf8(kFitTitle));
    }
    return answer.eyes;
}

EyeSearch FaceCommands::searchWorkingPhoto(std::optional<EyePair>* screen) {
    const QImage& photo = window_.buffers.ftrabajo.image();
    EyeSearch search = findEyes(photo);
    if (search.eyes) {
        *screen = photoToScreen(*search.eyes, photo.size(), window_.overlay);
    } else {
        screen->reset();
    }
    return search;
}

void FaceCommands::tellEyesNotFound(const EyeSearch& search) {
    QString text = QString::fromUtf8(kEyesNotFoundMessage);
    if (search.fault == EyeFault::CascadeMissing) {
        text += QStringLiteral("\n\nNo se puede buscar la cara: falta el archivo %1.")
                    .arg(sharedCascades().missingFile());
    }
    dialogs_.MsgBox(text, MessageButtons::Ok, MessageIcon::Information,
                    QString::fromUtf8(kFitTitle));
}

void FaceCommands::mnuajustarcara_Click() {
    leaveClickMode();
    if (!window_.overlay.pelocargado) {
        return;
    }
    const std::optional<EyePair> model = modelEyes();
    if (!model) {
        return;
    }
    window_.setPointer(kPointerBusy);
    std::optional<EyePair> client;
    const EyeSearch search = searchWorkingPhoto(&client);
    if (!client) {
        window_.setPointer(kPointerDefault);
        tellEyesNotFound(search);
        enterClickMode();
        return;
    }
    fitTo(*model, *client, true);
    window_.setPointer(kPointerDefault);
}

void FaceCommands::mnuajustarclics_Click() {
    leaveClickMode();
    if (!window_.overlay.pelocargado || !modelEyes()) {
        return;
    }
    enterClickMode();
}

void FaceCommands::clickEyes(std::function<void(const EyePair& onPhoto)> done, const char* title) {
    leaveClickMode();
    if (!window_.overlay.pelocargado) {
        return;
    }
    enterClickMode();
    clickedFor_ = std::move(done);
    clickTitle_ = title;
}

EyePair FaceCommands::onUnturnedPhoto(const EyePair& screen) const {
    const QSize photo = window_.buffers.ftrabajo.image().size();
    // The photo turns about its centre as the rotation takes it; the clicks turn back with it.
    const QPointF centre(photo.width() / 2, photo.height() / 2);
    const double angle = window_.turnedBy ? window_.turnedBy() : 0.0;
    const auto back = [&](const QPointF& point) {
        return turnedPoint(screenToPhoto(point, photo, window_.overlay), centre, -angle);
    };
    EyePair eyes{back(screen.left), back(screen.right)};
    if (eyes.left.x() > eyes.right.x()) {
        std::swap(eyes.left, eyes.right);  // a mirrored photo swaps the sides
    }
    return eyes;
}

void FaceCommands::fitTo(const EyePair& model, EyePair client, bool searchAgain) {
    const QSize size = mainSize();
    // A fit that cannot be made is refused before anything turns: the turn keeps the distance.
    FitResult result = fitHair(model, client, size);
    if (result.fit) {
        if (const std::optional<TiltStep> step = levellingStep(client)) {
            const QImage& before = window_.buffers.ftrabajo.image();
            const QSize photo = before.size();
            const EyePair onPhoto{screenToPhoto(client.left, photo, window_.overlay),
                                  screenToPhoto(client.right, photo, window_.overlay)};
            if (window_.turnPhoto(step->index, step->degrees)) {
                window_.setPointer(kPointerBusy);  // the turn gives the arrow back when done
                std::optional<EyePair> found;
                if (searchAgain) {
                    searchWorkingPhoto(&found);
                }
                if (found) {
                    client = *found;
                } else {
                    // The photo turns about its centre as the rotation takes it; so do the eyes.
                    const QPointF centre(photo.width() / 2, photo.height() / 2);
                    const double radians =
                        step->index == 0 ? stepAngle(step->degrees) : -stepAngle(step->degrees);
                    client = photoToScreen(EyePair{turnedPoint(onPhoto.left, centre, radians),
                                                   turnedPoint(onPhoto.right, centre, radians)},
                                           photo, window_.overlay);
                }
                result = fitHair(model, client, size);
            }
        }
    }
    if (!result.fit) {
        window_.setPointer(kPointerDefault);
        dialogs_.MsgBox(fitRefusalMessage(result.refusal), MessageButtons::Ok,
                        MessageIcon::Information, QString::fromUtf8(kFitTitle));
        return;
    }
    applyFit(*result.fit, window_.overlay);
    window_.compose();
}

void FaceCommands::instruct(const char* text) {
    if (!indicacionclic_) {
        indicacionclic_ = new QLabel(window_.fprincipal);
        indicacionclic_->setObjectName(QStringLiteral("indicacionclic"));
        indicacionclic_->setAttribute(Qt::WA_TransparentForMouseEvents);
        indicacionclic_->setStyleSheet(
            QStringLiteral("background: #ffffe1; color: black; border: 1px solid #767676; "
                           "padding: 2px 4px;"));
    }
    indicacionclic_->setText(QString::fromUtf8(text));
    indicacionclic_->adjustSize();
    const QPoint pointer = window_.fprincipal->mapFromGlobal(QCursor::pos());
    placeInstruction(window_.fprincipal->rect().contains(pointer)
                         ? QPointF(pointer - window_.fprincipal->contentsRect().topLeft())
                         : QPointF(0, 0));
    indicacionclic_->show();
}

void FaceCommands::placeInstruction(const QPointF& pointer) {
    if (!indicacionclic_) {
        return;
    }
    // Centred below the cross-hair, clear of the point aimed at (above it near the picture's foot),
    // and kept inside the picture.
    const QRect area = window_.fprincipal->contentsRect();
    const QSize size = indicacionclic_->size();
    const QPoint at = pointer.toPoint() + area.topLeft();
    const int below = at.y() + 20;
    const int y = below + size.height() <= area.bottom() ? below : at.y() - 20 - size.height();
    indicacionclic_->move(
        std::clamp(at.x() - size.width() / 2, area.left(),
                   std::max(area.left(), area.right() + 1 - size.width())),
        std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
}

void FaceCommands::enterClickMode() {
    clickMode_ = true;
    firstClick_.reset();
    pointerBefore_ = window_.fprincipal->pointer();
    window_.fprincipal->setPointer(kPointerCross);
    instruct(kClickLeftEye);
    qApp->installEventFilter(this);
    // Any other command of the window leaves the mode before it runs its own work.
    for (QAction* action : window_.window->findChildren<QAction*>()) {
        if (action != mnuajustarcara_ && action != mnuajustarclics_) {
            otherCommands_.push_back(
                connect(action, &QAction::triggered, this, &FaceCommands::leaveClickMode));
        }
    }
}

void FaceCommands::leaveClickMode() {
    if (!clickMode_) {
        return;
    }
    clickMode_ = false;
    firstClick_.reset();
    clickedFor_ = nullptr;
    clickTitle_ = kFitTitle;
    // The press that ended the mode keeps the filter until its release.
    if (!swallowRelease_) {
        qApp->removeEventFilter(this);
    }
    for (const QMetaObject::Connection& connection : otherCommands_) {
        disconnect(connection);
    }
    otherCommands_.clear();
    if (indicacionclic_) {
        indicacionclic_->hide();
    }
    window_.fprincipal->setPointer(pointerBefore_ == kPointerCross ? kPointerCross : kPointerMove);
}

void FaceCommands::clickAt(const QPointF& at) {
    if (!firstClick_) {
        firstClick_ = at;
        instruct(kClickRightEye);
        return;
    }
    const QPointF first = *firstClick_;
    // The eyes are named by their side on the screen, whichever was clicked first.
    const EyePair client = first.x() <= at.x() ? EyePair{first, at} : EyePair{at, first};
    const char* refusal = clicksTooClose(first, at)     ? kClicksTooCloseMessage
                          : clickedLineTooSteep(client) ? kClicksTooSteepMessage
                                                        : nullptr;
    if (refusal) {
        // The mode starts again from the first eye.
        firstClick_.reset();
        instruct(kClickLeftEye);
        dialogs_.MsgBox(QString::fromUtf8(refusal), MessageButtons::Ok, MessageIcon::Information,
                        QString::fromUtf8(clickTitle_));
        return;
    }
    const std::function<void(const EyePair&)> forOther = std::move(clickedFor_);
    const EyePair onPhoto = onUnturnedPhoto(client);
    leaveClickMode();
    if (forOther) {
        forOther(onPhoto);
        return;
    }
    const std::optional<EyePair> model = modelEyes();
    if (!model) {
        return;
    }
    window_.setPointer(kPointerBusy);
    fitTo(*model, client, false);
    window_.setPointer(kPointerDefault);
}

bool FaceCommands::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!isMouseEvent(type) && type != QEvent::KeyPress) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) {
        return false;
    }
    if (widget == window_.fprincipal && type != QEvent::KeyPress) {
        if (type == QEvent::MouseButtonRelease && swallowRelease_) {
            swallowRelease_ = false;
            if (!clickMode_) {
                qApp->removeEventFilter(this);
            }
            return true;
        }
        if (!clickMode_) {
            // Past the mode only the rest of its last click is held back.
            return swallowRelease_;
        }
        auto* mouse = static_cast<QMouseEvent*>(event);
        // The second of two quick presses comes as a double click.
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
            mouse->button() == Qt::LeftButton) {
            swallowRelease_ = true;
            clickAt(mouse->position() - QPointF(window_.fprincipal->contentsRect().topLeft()));
        } else if (type == QEvent::MouseMove) {
            placeInstruction(mouse->position() -
                             QPointF(window_.fprincipal->contentsRect().topLeft()));
            if (window_.fprincipal->pointer() != kPointerCross) {
                // A redraw meanwhile may have put the drag arrow back.
                window_.fprincipal->setPointer(kPointerCross);
            }
        }
        return true;
    }
    if (!clickMode_ || widget->window() != window_.window) {
        return false;
    }
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        leaveClickMode();
        return true;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        leaveClickMode();
    }
    return false;
}

EyeTarget FaceCommands::clientPhotoTarget() {
    return {mainSize(), modelEyes_.eyes(folder_.fullPath(kBasePhoto), kBasePhoto, database_).eyes};
}

std::optional<PreparedPhoto> FaceCommands::prepareClientPhoto(const QImage& photo) {
    const QSize size = mainSize();
    if (photo.size() == size) {
        return std::nullopt;
    }
    const ModelEyes::Answer model =
        modelEyes_.eyes(folder_.fullPath(kBasePhoto), kBasePhoto, database_);
    return preparePhoto(photo, model.eyes, size);
}

}  // namespace crinova
