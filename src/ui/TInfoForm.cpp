#include "ui/TInfoForm.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorrel {

TInfoForm::TInfoForm(const QString& caption, const QString& text)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(text, this);
    text_->setReadOnly(true);
    layout->addWidget(text_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::rejected, this, &QWidget::close);
    resize(460, 300);
}

QString TInfoForm::Text() const { return text_->toPlainText(); }

} // namespace quorrel
