#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace quorrel {

// A read-only text window: the program's licence or its information.
class TInfoForm : public QWidget {
    Q_OBJECT
public:
    TInfoForm(const QString& caption, const QString& text);

    QString Text() const;

private:
    QPlainTextEdit* text_;
};

} // namespace quorrel
