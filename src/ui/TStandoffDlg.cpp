#include "ui/TStandoffDlg.h"

#include "ui/OutcomeEditorModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorrel {

TStandoffDlg::TStandoffDlg(OutcomeEditorModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setWindowTitle(QStringLiteral("Stand-offs"));
    StandoffEdit = new QLineEdit(QStringLiteral("0"), this);
    StandoffEdit->setMaxLength(3);
    StandoffEdit->setFixedWidth(48);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TStandoffDlg::OKBtnClick);

    auto* row = new QHBoxLayout;
    row->addWidget(StandoffEdit);
    row->addWidget(new QLabel(QStringLiteral("% stand-offs in random networks."), this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(OKBtn, 0, Qt::AlignRight);
}

void TStandoffDlg::OKBtnClick()
{
    if (model_.EnterStandoff(StandoffEdit->text().toStdString()))
        accept();
}

} // namespace quorrel
