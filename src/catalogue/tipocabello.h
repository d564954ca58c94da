#pragma once

#include <QWidget>
#include <vector>

#include "catalogue/catalogue.h"

#include "platform/modeless_window.h"

class QRadioButton;

namespace crinova {

// What the hair-type dialog asks of the main window.
class CatalogueHost {
  public:
    virtual ~CatalogueHost() = default;
    // Loads the first catalogue page with the current filters; answers false (after telling the
    // stylist why) when no page could be shown.
    virtual bool loadFirstCataloguePage() = 0;
};

// "SELECCIONE EL TIPO DE CABELLO": the four filters of the catalogue. Each option writes its word
// into its filter the moment it is clicked. Released on close.
class Tipocabello : public QWidget {
    Q_OBJECT
  public:
    Tipocabello(CatalogueFilters& filters, CatalogueHost& host, QWidget* parent);
    ModelessClose& modelessClose() { return *close_; }

    bool seleccionado() const { return seleccionado_; }
    void btnaceptar_Click();
    void btncancelar_Click();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Option {
        const char* name;
        const char* caption;
        QString CatalogueFilters::*filter;
        const char* word;
    };
    void option_Click(const Option& option, QRadioButton* button);

    CatalogueFilters& filters_;
    CatalogueHost& host_;
    bool seleccionado_ = false;
    std::vector<QRadioButton*> personOptions_;
    ModelessClose* close_ = nullptr;
};

}  // namespace crinova
