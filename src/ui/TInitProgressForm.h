#pragma once

#include "engine/InitProgress.h"

#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;

namespace quorrel {

// "Initialising Landscape": the modeless progress window of a long landscape initialisation,
// with the cells done, the total and a Cancel button.
class TInitProgressForm : public QWidget, public InitProgress {
    Q_OBJECT
public:
    // terminating tells whether the application is closing.
    explicit TInitProgressForm(std::function<bool()> terminating = {});

    void Open(int total) override;
    void Show(int done) override;
    bool CancelRequested() override;
    void Close() override;

    bool InitCancelled() const { return initCancelled_; }
    QPushButton* CancelButton() const { return cancelBtn_; }
    QLineEdit* DoneField() const { return done_; }
    QLineEdit* TotalField() const { return total_; }

protected:
    // A request to close the window counts as Cancel.
    void closeEvent(QCloseEvent* event) override;

private:
    void CancelBtnClick();

    std::function<bool()> terminating_;
    bool initCancelled_ = false;
    QLineEdit* done_;
    QLineEdit* total_;
    QPushButton* cancelBtn_;
};

} // namespace quorrel
