#pragma once

#include <QLineEdit>

namespace quorrel {

// A read-only box that reports a click with the left button: the file-name boxes that open
// a file dialog instead of being typed into.
class ClickableLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ClickableLineEdit(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace quorrel
