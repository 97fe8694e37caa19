#pragma once

#include "params/ParameterSet.h"

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace quorrel {

// "Outcome Matrix": the live outcome matrix and variable-outcome ranges, read-only.
class TOutcomeViewForm : public QWidget {
    Q_OBJECT
public:
    explicit TOutcomeViewForm(const ParameterSet& params);

    void Refresh();

    QTableWidget* OutcomeGrid;
    QTableWidget* VariableGrid;
    QPushButton* CloseBtn;

private:
    const ParameterSet& params_;
};

} // namespace quorrel
