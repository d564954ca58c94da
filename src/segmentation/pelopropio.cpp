#include "segmentation/pelopropio.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/image_control.h"
#include "segmentation/selection_editor.h"

namespace crinova {

Pelopropio::Pelopropio(PelopropioHost host, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(std::move(host)) {
    setObjectName(QStringLiteral("pelopropio"));
    setWindowTitle(QStringLiteral("PELO PROPIO"));
    close_ = new ModelessClose(this);
    editor_ = new SelectionEditor(this);
    connect(editor_, &SelectionEditor::selectionChanged, this, &Pelopropio::selectionChanged);
    fotosinpelo_ = new ImageControl(this, false);
    fotosinpelo_->setObjectName(QStringLiteral("fotosinpelo"));
    fotosinpelo_->setFramed(true);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Con su pelo oculto:"), this));
    side->addWidget(fotosinpelo_);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(editor_, 0, Qt::AlignTop);
    layout->addLayout(side);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Pelopropio::setSelection(HairSelection* selection) {
    editor_->setSelection(selection);
    const QImage hidden = host_.hidden();
    fotosinpelo_->setFixedSize(hidden.size());
    fotosinpelo_->setPicture(hidden);
}

void Pelopropio::selectionChanged() {
    host_.corrected();
    fotosinpelo_->setPicture(host_.hidden());
}

void Pelopropio::closeEvent(QCloseEvent* event) {
    close_->closing();
    event->accept();
}

}  // namespace crinova
