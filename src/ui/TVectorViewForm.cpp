#include "ui/TVectorViewForm.h"

#include "ui/GridCells.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quorrel {

TVectorViewForm::TVectorViewForm(Content content) : QWidget(nullptr, Qt::Window), content_(std::move(content))
{
    setWindowTitle(content_.caption);
    Grid = NewStringGrid(this);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionMode(QAbstractItemView::NoSelection);
    Grid->setMinimumSize(190, 240);
    CloseBtn = new QPushButton(QStringLiteral("Close"), this);
    connect(CloseBtn, &QPushButton::clicked, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Grid, 1);
    if (content_.size) {
        SizeEdit = new QLineEdit(this);
        SizeEdit->setReadOnly(true);
        SizeEdit->setFixedWidth(80);
        auto* size = new QHBoxLayout;
        size->addWidget(new QLabel(QStringLiteral("Size of mortality:"), this));
        size->addWidget(SizeEdit);
        size->addStretch();
        layout->addLayout(size);
    }
    layout->addWidget(CloseBtn, 0, Qt::AlignRight);
    Refresh();
}

void TVectorViewForm::Refresh()
{
    const int n = content_.species();
    Grid->setRowCount(n + 1);
    Grid->setColumnCount(2);
    Grid->setColumnWidth(0, 80);
    Grid->setColumnWidth(1, 90);
    SetCell(*Grid, 0, 0, QStringLiteral("Species No."));
    SetCell(*Grid, 0, 1, content_.heading);
    for (int s = 1; s <= n; ++s) {
        SetCell(*Grid, s, 0, QString::number(s));
        SetCell(*Grid, s, 1, content_.value(s), CellAccess::Fixed);
    }
    if (SizeEdit)
        SizeEdit->setText(content_.size());
}

} // namespace quorrel
