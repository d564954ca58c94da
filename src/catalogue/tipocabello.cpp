#include "catalogue/tipocabello.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/text_colour.h"

namespace crinova {
namespace {

struct FrameSpec {
    const char* name;
    const char* caption;
    QRect geometry;
};

}  // namespace

Tipocabello::Tipocabello(CatalogueFilters& filters, CatalogueHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), filters_(filters), host_(host) {
    setObjectName(QStringLiteral("tipocabello"));
    setWindowTitle(QStringLiteral("SELECCIONE EL TIPO DE CABELLO"));
    close_ = new ModelessClose(this);
    setFixedSize(440, 300);

    // The words are the column values, not the captions: "Castaño" writes "Negro".
    static const Option kPerson[] = {
        {"opniño", "Niño/Niña", &CatalogueFilters::filtropersona, "niño"},
        {"ophombre", "Hombre", &CatalogueFilters::filtropersona, "hombre"},
        {"opmujer", "Mujer", &CatalogueFilters::filtropersona, "mujer"}};
    static const Option kLength[] = {
        {"cabellolargo", "Largo", &CatalogueFilters::filtrolargura, "largo"},
        {"cabellomedia", "Media Melena", &CatalogueFilters::filtrolargura, "medmelena"},
        {"cabellocorto", "Corto", &CatalogueFilters::filtrolargura, "corto"}};
    static const Option kType[] = {
        {"cabellomechas", "Mechas", &CatalogueFilters::filtrotipo, "mechas"},
        {"cabellorecogido", "Recogidos", &CatalogueFilters::filtrotipo, "recogidos"},
        {"cabelloescalado", "Rizado", &CatalogueFilters::filtrotipo, "rizado"},
        {"cabelloondulado", "Ondulado", &CatalogueFilters::filtrotipo, "ondulado"},
        {"cabelloliso", "Liso", &CatalogueFilters::filtrotipo, "liso"}};
    static const Option kColour[] = {
        {"optodos", "Todos", &CatalogueFilters::filtrocolor, "todos"},
        {"colorfantasia", "Fantasía", &CatalogueFilters::filtrocolor, "fantasia"},
        {"colorpelirrojo", "Rojo", &CatalogueFilters::filtrocolor, "rojo"},
        {"colorrubio", "Dorado", &CatalogueFilters::filtrocolor, "dorado"},
        {"colorcastaño", "Castaño", &CatalogueFilters::filtrocolor, "Negro"}};

    auto addFrame = [this](const FrameSpec& spec, const auto& options) {
        auto* frame = new QGroupBox(QString::fromUtf8(spec.caption), this);
        frame->setObjectName(QString::fromUtf8(spec.name));
        frame->setGeometry(spec.geometry);
        int row = 0;
        for (const Option& option : options) {
            auto* button = new QRadioButton(QString::fromUtf8(option.caption), frame);
            button->setObjectName(QString::fromUtf8(option.name));
            button->move(14, 22 + row * 24);
            button->adjustSize();  // a click lands on the caption, not on empty space
            connect(button, &QRadioButton::clicked, this,
                    [this, &option, button] { option_Click(option, button); });
            if (option.filter == &CatalogueFilters::filtropersona) {
                personOptions_.push_back(button);
            }
            ++row;
        }
    };
    addFrame({"Frame4", "Seleccione el Tipo de Persona:", QRect(10, 10, 205, 100)}, kPerson);
    addFrame({"Frame3", "Largura del Cabello:", QRect(225, 10, 205, 100)}, kLength);
    addFrame({"Frame1", "Tipo de Cabello:", QRect(10, 118, 205, 148)}, kType);
    addFrame({"Frame2", "Color del Cabello:", QRect(225, 118, 205, 148)}, kColour);

    auto* btnaceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    btnaceptar->setObjectName(QStringLiteral("btnaceptar"));
    btnaceptar->setGeometry(225, 270, 100, 26);
    auto* btncancelar = new QPushButton(QStringLiteral("&Volver"), this);
    btncancelar->setObjectName(QStringLiteral("btncancelar"));
    btncancelar->setGeometry(330, 270, 100, 26);
    connect(btnaceptar, &QPushButton::clicked, this, &Tipocabello::btnaceptar_Click);
    connect(btncancelar, &QPushButton::clicked, this, &Tipocabello::btncancelar_Click);
}

void Tipocabello::option_Click(const Option& option, QRadioButton* button) {
    filters_.*(option.filter) = QString::fromUtf8(option.word);
    seleccionado_ = true;
    if (option.filter == &CatalogueFilters::filtropersona && button->isChecked()) {
        for (QRadioButton* person : personOptions_) {
            setOptionColour(person, person == button);
        }
    }
}

void Tipocabello::btnaceptar_Click() {
    if (seleccionado_ && !host_.loadFirstCataloguePage()) {
        return;  // nothing to show: the stylist changes the filters
    }
    close();
}

void Tipocabello::btncancelar_Click() {
    close();
}

void Tipocabello::closeEvent(QCloseEvent* event) {
    close_->closing();
    event->accept();
}

}  // namespace crinova
