#pragma once

#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorrel {

// A read-only per-species table: "Species No." and one value column, optionally with a
// read-only "Size of mortality:" box. Serves the mortality, recruitment and growth-rate
// vector viewers.
class TVectorViewForm : public QWidget {
    Q_OBJECT
public:
    struct Content {
        QString caption;
        QString heading;
        std::function<int()> species;          // how many rows
        std::function<QString(int)> value;     // the value of species s
        std::function<QString()> size;         // the size box; empty function: no box
    };

    explicit TVectorViewForm(Content content);

    void Refresh();

    QTableWidget* Grid;
    QLineEdit* SizeEdit = nullptr;
    QPushButton* CloseBtn;

private:
    Content content_;
};

} // namespace quorrel
