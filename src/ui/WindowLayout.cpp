#include "ui/WindowLayout.h"

#include "ui/WindowPlacement.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace quorrel {

namespace {

const QString Group = QStringLiteral("Windows");

QString PosKey(const QString& key) { return Group + QLatin1Char('/') + key + QStringLiteral("/pos"); }
QString SizeKey(const QString& key) { return Group + QLatin1Char('/') + key + QStringLiteral("/size"); }

bool FixedSize(const QWidget& window) { return window.minimumSize() == window.maximumSize(); }

// Cuts a window down to this client size when its contents can scroll; false when they cannot.
bool FitClient(QWidget& window, const QSize& client)
{
    auto* area = window.findChild<QAbstractScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
    if (area == nullptr)
        return false;
    if (FixedSize(window))
        window.setFixedSize(client);
    else
        window.resize(client);
    if (window.layout() == nullptr)
        area->setGeometry(QRect(QPoint(), client));
    return true;
}

} // namespace

WindowLayout::WindowLayout(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

WindowLayout::~WindowLayout()
{
    for (const Entry& e : entries_)
        e.window->removeEventFilter(this);
}

void WindowLayout::Manage(QWidget& window, const QString& key, Role role)
{
    Entry entry;
    entry.window = &window;
    entry.key = key;
    entry.role = role;
    entries_.push_back(entry);
    window.installEventFilter(this);
    // A window that goes first is forgotten.
    connect(&window, &QObject::destroyed, this, [this](QObject* gone) {
        entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [gone](const Entry& e) { return e.window == gone; }),
                       entries_.end());
    });
    // The main window is placed before it is made: the first window has no other window's
    // frame to go by, and the window system takes its place for the frame's.
    if (role == Role::Main && !window.testAttribute(Qt::WA_WState_Created))
        Arrange(entries_.back());
}

std::vector<QRect> WindowLayout::Screens()
{
    std::vector<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back(screen->availableGeometry());
    return screens;
}

WindowLayout::Entry* WindowLayout::Find(const QObject* window)
{
    for (Entry& e : entries_)
        if (e.window == window)
            return &e;
    return nullptr;
}

std::optional<QPoint> WindowLayout::Remembered(const QString& key) const
{
    if (!settings_ || !settings_->contains(PosKey(key)))
        return std::nullopt;
    return settings_->value(PosKey(key)).toPoint();
}

void WindowLayout::LearnMargins()
{
    for (const Entry& e : entries_) {
        const QWidget& w = *e.window;
        if (!w.isVisible())
            continue;
        const QRect frame = w.frameGeometry();
        const QRect client = w.geometry();
        if (frame == client)
            continue;
        // A window manager may frame a window that can be resized otherwise (a resize handle).
        margins_[FixedSize(w) ? 0 : 1] = QMargins(client.left() - frame.left(), client.top() - frame.top(),
                                                  frame.right() - client.right(), frame.bottom() - client.bottom());
    }
}

std::optional<QMargins> WindowLayout::KnownMargins(const QWidget& window) const
{
    const int kind = FixedSize(window) ? 0 : 1;
    if (margins_[kind])
        return margins_[kind];
    return std::nullopt;
}

QMargins WindowLayout::MarginsOf(const QWidget& window) const
{
    if (const std::optional<QMargins> known = KnownMargins(window))
        return *known;
    const int other = FixedSize(window) ? 1 : 0;
    if (margins_[other])
        return *margins_[other];
    // No frame seen yet: none offscreen, else a generous title bar and border, so that the
    // windows rather keep too far apart than overlap.
    if (QGuiApplication::platformName() == QStringLiteral("offscreen") ||
        QGuiApplication::platformName() == QStringLiteral("minimal"))
        return {};
    return QMargins(4, 32, 4, 8);
}

QSize WindowLayout::FrameSize(const QWidget& window) const
{
    const QMargins m = MarginsOf(window);
    return window.size() + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QRect WindowLayout::FrameOf(const QWidget& window) const
{
    const QRect frame = window.frameGeometry();
    const QMargins m = MarginsOf(window);
    if (frame.size() != window.size() || m.isNull())
        return frame;
    // The window system has not told its frame yet: the frame of the other windows around the
    // client area, or, for a window not made yet, at the place it has been given.
    if (window.testAttribute(Qt::WA_WState_Created))
        return QRect(window.geometry().topLeft() - QPoint(m.left(), m.top()), FrameSize(window));
    return QRect(window.pos(), FrameSize(window));
}

QRect WindowLayout::CurrentFrame(const Entry& entry) const
{
    const QWidget& w = *entry.window;
    // Until the window system tells the frame, the window is where the program put it.
    if (w.frameGeometry() == w.geometry() && entry.placed && !MarginsOf(w).isNull())
        return QRect(entry.placed->topLeft(), FrameSize(w));
    return FrameOf(w);
}

bool WindowLayout::Moved(const QRect& placed, const QRect& now)
{
    // A frame guessed before the window system told it is a few pixels out; a user's move is more.
    constexpr int Tolerance = 24;
    return (placed.topLeft() - now.topLeft()).manhattanLength() > Tolerance;
}

QRect WindowLayout::AnchorFor(const Entry& entry) const
{
    const Entry* anchor = nullptr;
    for (const Entry& e : entries_) {
        if (&e == &entry || !e.window->isVisible())
            continue;
        if (entry.role == Role::Controls && e.role == Role::Main)
            anchor = &e;
        if (entry.role == Role::Output && e.role == Role::Controls && (anchor == nullptr || e.order > anchor->order))
            anchor = &e;
    }
    if (anchor == nullptr && entry.role == Role::Output)
        for (const Entry& e : entries_)
            if (e.role == Role::Main && e.window->isVisible())
                anchor = &e;
    return anchor != nullptr ? CurrentFrame(*anchor) : QRect();
}

bool WindowLayout::Usable(const QRect& frame, const QRect& anchor) const
{
    const std::optional<QRect> inside = WindowPlacement::OnScreen(Screens(), frame);
    return inside && *inside == frame && !frame.intersects(anchor);
}

void WindowLayout::Apply(Entry& entry, const QRect& frame)
{
    QWidget& w = *entry.window;
    applying_ = true;
    const QMargins m = MarginsOf(w);
    const QSize client = frame.size().shrunkBy(m);
    if (client.width() < w.width() || client.height() < w.height())
        FitClient(w, client.boundedTo(w.size()));
    // Qt takes the point for the frame's, except for a window it has made but whose frame it
    // does not know yet: for that one it takes it for the client area's.
    QPoint target = frame.topLeft();
    if (w.testAttribute(Qt::WA_WState_Created) && w.frameGeometry() == w.geometry())
        target += QPoint(m.left(), m.top());
    w.move(target);
    applying_ = false;
    entry.placed = QRect(frame.topLeft(), FrameSize(w));
    entry.placedClient = w.size();
    // Placed with a frame guessed: looked at again once the window system has told it.
    if (!KnownMargins(w) && !m.isNull())
        QTimer::singleShot(300, this, [this, window = &w] {
            LearnMargins();
            if (Entry* again = Find(window); again != nullptr && window->isVisible() && KnownMargins(*window))
                Arrange(*again);
        });
}

void WindowLayout::Arrange(Entry& entry)
{
    LearnMargins();
    QWidget& w = *entry.window;
    entry.order = ++shows_;
    const QRect anchor = AnchorFor(entry);
    if (entry.shown) {
        // Shown again, or resized: it stays while it can; where the program put it, it also
        // moves out of the way of the other windows when there is room elsewhere.
        const QRect now(CurrentFrame(entry).topLeft(), FrameSize(w));
        if (entry.placed && Moved(*entry.placed, now))
            entry.userPlaced = true;
        if (Usable(now, anchor)) {
            WindowPlacement placement = PlacementFor(entry, anchor);
            if (entry.userPlaced || !placement.Overlaps(now))
                return;
            const QRect elsewhere = placement.Place(now.size());
            if (!placement.LastOverlaps())
                Apply(entry, elsewhere);
            return;
        }
    } else if (!entry.shown) {
        entry.shown = true;
        if (settings_ && settings_->contains(PosKey(entry.key))) {
            const QSize size = settings_->value(SizeKey(entry.key)).toSize();
            if (!FixedSize(w) && size.isValid() && size.width() >= w.minimumWidth() &&
                size.height() >= w.minimumHeight()) {
                applying_ = true;
                w.resize(size);
                applying_ = false;
            }
            const QRect remembered(settings_->value(PosKey(entry.key)).toPoint(), FrameSize(w));
            const std::optional<QRect> inside = WindowPlacement::OnScreen(Screens(), remembered);
            if (inside && !inside->intersects(anchor)) {
                Apply(entry, *inside);
                entry.userPlaced = true;
                return;
            }
        }
    }
    WindowPlacement placement = PlacementFor(entry, anchor);
    Apply(entry, placement.Place(FrameSize(w)));
    entry.userPlaced = false;
    entry.resetEpoch = epoch_;
}

WindowPlacement WindowLayout::PlacementFor(const Entry& entry, const QRect& anchor) const
{
    WindowPlacement placement(Screens(), anchor);
    for (const Entry& e : entries_) {
        if (&e == &entry || !e.window->isVisible() || CurrentFrame(e) == anchor)
            continue;
        if (resetting_ && e.resetEpoch != epoch_)
            continue;
        placement.Occupy(CurrentFrame(e));
    }
    return placement;
}

void WindowLayout::Remember(Entry& entry)
{
    if (!entry.shown || !settings_)
        return;
    const QWidget& w = *entry.window;
    const QRect now = CurrentFrame(entry);
    const bool moved = !entry.placed || Moved(*entry.placed, now);
    const bool resized = !FixedSize(w) && entry.placed && entry.placedClient != w.size();
    if (!moved && !resized)
        return;
    entry.userPlaced = true;
    settings_->setValue(PosKey(entry.key), now.topLeft());
    if (FixedSize(*entry.window))
        settings_->remove(SizeKey(entry.key));
    else
        settings_->setValue(SizeKey(entry.key), entry.window->size());
    entry.placed = now;
}

void WindowLayout::Save()
{
    for (Entry& e : entries_)
        if (e.window->isVisible())
            Remember(e);
    if (settings_)
        settings_->sync();
}

void WindowLayout::Reset()
{
    if (settings_) {
        settings_->remove(Group);
        settings_->sync();
    }
    for (Entry& e : entries_) {
        e.shown = false;
        e.placed.reset();
        e.userPlaced = false;
    }
    ++epoch_;
    resetting_ = true;
    for (Role role : {Role::Main, Role::Controls, Role::Output})
        for (Entry& e : entries_)
            if (e.role == role && e.window->isVisible())
                Arrange(e);
    resetting_ = false;
}

bool WindowLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (applying_)
        return false;
    Entry* entry = nullptr;
    switch (event->type()) {
    case QEvent::Show:
        if (!event->spontaneous() && (entry = Find(watched)) != nullptr)
            Arrange(*entry);
        break;
    case QEvent::Resize:
        // A window the user cannot resize has been resized by the program.
        if ((entry = Find(watched)) != nullptr && entry->shown && entry->window->isVisible() &&
            FixedSize(*entry->window))
            Arrange(*entry);
        break;
    case QEvent::Hide:
        if (!event->spontaneous() && (entry = Find(watched)) != nullptr) {
            Remember(*entry);
            if (settings_)
                settings_->sync();
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace quorrel
