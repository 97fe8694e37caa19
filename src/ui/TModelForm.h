#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorrel {

class RunProgressField;

// What every model window shares: its Start button tells whether a run is in progress
// (disabled from Start until the run has ended, also while the run is stopped), and closing
// it brings the main window to the front.
class TModelForm : public QWidget {
    Q_OBJECT
public:
    TModelForm();

    // Visible with its Start button disabled: a run is in progress or stopped.
    bool RunInProgress() const;
    // Its Start button disabled, visible or not: a run has begun and has not yet returned.
    bool RunActive() const;
    // Shown, raised and activated.
    void BringToFront();

    // The window brought to the front when this one closes.
    void SetHome(QWidget* home) { home_ = home; }
    // Tells whether the application is terminating.
    void SetTerminating(std::function<bool()> terminating) { terminating_ = std::move(terminating); }
    // Called whenever Start has returned, the run over and its files closed.
    void SetRunEnded(std::function<void()> runEnded) { runEnded_ = std::move(runEnded); }

    QPushButton* StartBtn = nullptr;

protected:
    // The bold heading that names the model.
    QLabel* Heading(const QString& text);
    // A right-aligned number field wide enough for 8 digits; a read-only one takes no focus.
    QLineEdit* NumberField(bool readOnly);
    // The same, read-only, for a number that a run changes at every step.
    RunProgressField* ProgressField();

    bool ApplicationTerminating() const { return terminating_ && terminating_(); }
    void BringHomeToFront();
    // The end of every Start handler.
    void RunEnded();

private:
    QWidget* home_ = nullptr;
    std::function<bool()> terminating_;
    std::function<void()> runEnded_;
};

} // namespace quorrel
