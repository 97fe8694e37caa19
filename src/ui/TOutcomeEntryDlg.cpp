#include "ui/TOutcomeEntryDlg.h"

#include "ui/OutcomeEditorModel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorrel {

namespace {

QLineEdit* Box(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(3);
    edit->setFixedWidth(48);
    return edit;
}

} // namespace

TOutcomeEntryDlg::TOutcomeEntryDlg(OutcomeEditorModel& model, QWidget* parent) : QDialog(parent), model_(model)
{
    setWindowTitle(QStringLiteral("Input Outcome"));
    pairLabel_ = new QLabel(this);
    firstLabel_ = new QLabel(this);
    secondLabel_ = new QLabel(this);
    thirdLabel_ = new QLabel(this);
    FirstEdit = Box(this);
    SecondEdit = Box(this);
    ThirdEdit = Box(this);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("&Cancel"), this);
    connect(OKBtn, &QPushButton::clicked, this, &TOutcomeEntryDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("The probability that:"), this), 0, 0, 1, 4);
    const std::pair<QLabel*, QLineEdit*> rows[] = {{firstLabel_, FirstEdit}, {secondLabel_, SecondEdit},
                                                   {thirdLabel_, ThirdEdit}};
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(rows[r].first, r + 1, 0);
        grid->addWidget(rows[r].second, r + 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("%"), this), r + 1, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("(-1 for variable)"), this), 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pairLabel_);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

void TOutcomeEntryDlg::Prepare(int i, int j)
{
    i_ = i;
    j_ = j;
    pairLabel_->setText(QStringLiteral("Outcome of interactions between species %1 and species %2").arg(i).arg(j));
    firstLabel_->setText(QStringLiteral("species %1 overgrows species %2 is").arg(i).arg(j));
    secondLabel_->setText(QStringLiteral("species %1 overgrows species %2 is").arg(j).arg(i));
    thirdLabel_->setText(QStringLiteral("there is a standoff between species %1 and %2 is").arg(i).arg(j));
    const OutcomeTriple& entry = model_.Matrix()[i][j];
    if (entry.Win < 0) {
        FirstEdit->setText(QStringLiteral("-1"));
        SecondEdit->setText(QStringLiteral("0"));
        ThirdEdit->setText(QStringLiteral("0"));
    } else {
        FirstEdit->setText(QString::number(entry.Win));
        SecondEdit->setText(QString::number(entry.Loss));
        ThirdEdit->setText(QString::number(entry.Standoff));
    }
}

void TOutcomeEntryDlg::OKBtnClick()
{
    if (model_.EnterOutcome(i_, j_, FirstEdit->text().toStdString(), SecondEdit->text().toStdString(),
                            ThirdEdit->text().toStdString()))
        accept();
}

} // namespace quorrel
