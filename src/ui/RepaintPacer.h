#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace quorrel {

// While it lives, every window of the program repaints at most once per refresh of its
// screen. A run that goes faster than the screen asks its windows to repaint after every
// generation; what the screen could not show is not painted. A repaint asked for too soon
// is held, with everything that changes meanwhile, until the refresh is due, so the latest
// state is always shown within one refresh; repaints still held when the pacer ends are made
// then. Only the repaints the program asks for are paced: a window shown or uncovered is
// painted at once.
class RepaintPacer : public QObject {
public:
    RepaintPacer();
    // The same with a fixed time between two repaints of a window.
    explicit RepaintPacer(std::chrono::nanoseconds interval);
    ~RepaintPacer() override;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    struct Window {
        QPointer<QWidget> widget;
        QElapsedTimer sincePainted;
        bool held = false;
    };

    Window& Find(QWidget* widget);
    int64_t Interval(const QWidget& widget) const;
    // Makes the held repaints that are due (all of them with all), and waits for the next.
    void Release(bool all);

    std::optional<std::chrono::nanoseconds> interval_;
    std::vector<Window> windows_;
    QTimer timer_;
    bool releasing_ = false;
};

} // namespace quorrel
