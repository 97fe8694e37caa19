#include "ui/TInitProgressForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <utility>

namespace quorrel {

namespace {

QLineEdit* NumberField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

} // namespace

TInitProgressForm::TInitProgressForm(std::function<bool()> terminating)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      terminating_(std::move(terminating))
{
    setWindowTitle(QStringLiteral("Initialising Landscape"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Initialising the landscape. Please wait ..."), this));
    auto* line = new QHBoxLayout;
    done_ = NumberField(this);
    total_ = NumberField(this);
    line->addWidget(done_);
    line->addWidget(new QLabel(QStringLiteral("cells of total"), this));
    line->addWidget(total_);
    line->addWidget(new QLabel(QStringLiteral("have been filled."), this));
    layout->addLayout(line);
    cancelBtn_ = new QPushButton(QStringLiteral("Cancel"), this);
    layout->addWidget(cancelBtn_, 0, Qt::AlignHCenter);
    connect(cancelBtn_, &QPushButton::clicked, this, &TInitProgressForm::CancelBtnClick);
    setFixedSize(sizeHint());
}

void TInitProgressForm::CancelBtnClick() { initCancelled_ = true; }

void TInitProgressForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    CancelBtnClick();
}

void TInitProgressForm::Open(int total)
{
    initCancelled_ = false;
    total_->setText(QString::number(total));
    done_->setText(QStringLiteral("0"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
}

void TInitProgressForm::Show(int done)
{
    done_->setText(QString::number(done));
    repaint();
}

bool TInitProgressForm::CancelRequested()
{
    QCoreApplication::processEvents();
    return initCancelled_ || (terminating_ && terminating_());
}

void TInitProgressForm::Close() { hide(); }

} // namespace quorrel
