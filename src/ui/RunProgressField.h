#pragma once

#include "ui/RefreshPace.h"

#include <QLineEdit>
#include <QString>

#include <chrono>

namespace quorrel {

// A read-only number field that a run rewrites at every step (the current generation, row or
// column). Laying a new text out costs more than a fast run's step, so the field shows a new
// text at most once per refresh of its screen: one that comes sooner is held until the
// refresh is due, and the latest is always shown within one refresh. text() is always the
// latest text given, shown or held, so that whatever reads the field during a run reads
// the run's progress. setText, clear and text hide QLineEdit's own: the field is set and
// read through this class only.
class RunProgressField : public QLineEdit {
public:
    explicit RunProgressField(QWidget* parent);
    // The same with a fixed time between two texts shown.
    RunProgressField(QWidget* parent, std::chrono::nanoseconds interval);

    void setText(const QString& text);
    void clear() { setText(QString()); }
    QString text() const { return text_; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void ShowLatest();

    RefreshPace pace_;
    QString text_;
};

} // namespace quorrel
