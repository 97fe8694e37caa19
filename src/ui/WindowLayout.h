#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSettings>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace quorrel {
class WindowPlacement;
}

namespace quorrel {

// Puts the program's windows where WindowPlacement says when the program shows them, and
// remembers where the user has put them. Each window is placed when it is first shown; shown
// again (or resized by the program) it stays where it is while it lies inside a screen and
// leaves its controls uncovered, else it is placed again. A window the user has moved (or
// resized, when it can be) is written down in the settings under its key as it is hidden,
// and opens there next time, unless that place is on no screen any more (it is moved inside
// the nearest screen) or covers its controls.
//
// The roles: the main window, the anchor of the model windows; the model windows (the run
// controls), the anchor of every other window; the other windows, placed in the order
// they were handed over.
class WindowLayout : public QObject {
    Q_OBJECT
public:
    enum class Role { Main, Controls, Output };

    // settings: where the arrangement is kept; none: it is kept for this session only.
    explicit WindowLayout(std::unique_ptr<QSettings> settings = nullptr);
    ~WindowLayout() override;

    // Takes care of window from now on; key names it in the settings.
    void Manage(QWidget& window, const QString& key, Role role);

    // Forgets the user's arrangement and places the windows on screen again by the rule.
    void Reset();
    // Writes down where the user has put the windows on screen.
    void Save();

    // Where the user put the window last, as it is kept in the settings (frame top-left).
    std::optional<QPoint> Remembered(const QString& key) const;

    // The available areas of the screens.
    static std::vector<QRect> Screens();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QWidget* window = nullptr;
        QString key;
        Role role = Role::Output;
        bool shown = false;                // shown by the program at least once
        std::optional<QRect> placed;       // the frame rectangle the program gave it
        QSize placedClient;                // and the client size it had then
        bool userPlaced = false;           // where the user put it (now or in an earlier session)
        int order = 0;                     // when it was last shown by the program
        int resetEpoch = 0;                // placed again by the Reset of this number
    };

    Entry* Find(const QObject* window);
    void Arrange(Entry& entry);
    void Remember(Entry& entry);
    QRect AnchorFor(const Entry& entry) const;
    QRect FrameOf(const QWidget& window) const;
    QSize FrameSize(const QWidget& window) const;
    // The frame the window system gives a window: as seen on a window of the same kind (fixed
    // size or not), else on one of the other kind, else guessed.
    QMargins MarginsOf(const QWidget& window) const;
    std::optional<QMargins> KnownMargins(const QWidget& window) const;
    void LearnMargins();
    QRect CurrentFrame(const Entry& entry) const;
    static bool Moved(const QRect& placed, const QRect& now);
    void Apply(Entry& entry, const QRect& frame);
    WindowPlacement PlacementFor(const Entry& entry, const QRect& anchor) const;
    bool Usable(const QRect& frame, const QRect& anchor) const;

    std::unique_ptr<QSettings> settings_;
    std::vector<Entry> entries_;
    std::optional<QMargins> margins_[2]; // fixed-size windows, windows that can be resized
    bool applying_ = false;
    bool resetting_ = false;
    int epoch_ = 0;
    int shows_ = 0;
};

} // namespace quorrel
