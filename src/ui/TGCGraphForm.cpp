#include "ui/TGCGraphForm.h"

#include "output/GrowthCompetitiveGraph.h"
#include "ui/OutputWindowFlags.h"
#include "ui/PlotPicture.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace quorrel {

namespace {

constexpr int Margin = 10;
constexpr int CaptionWidth = 96;
constexpr int ScaleWidth = 30;
constexpr int PictureLeft = Margin + CaptionWidth + ScaleWidth;
constexpr int PanelWidth = GrowthCompetitiveGraph::PanelWidth;
constexpr int PanelStride = GrowthCompetitiveGraph::PanelStride;
constexpr int Height = GrowthCompetitiveGraph::Height;
constexpr int LowerTop = GrowthCompetitiveGraph::LowerPanelTop;

} // namespace

TGCGraphForm::TGCGraphForm(bool graphA) : QWidget(nullptr, OutputWindowFlags), graphA_(graphA)
{
    setWindowTitle(graphA ? QStringLiteral("Growth rate - Competitive Graph A")
                          : QStringLiteral("Growth rate - Competitive Graph"));
    content_ = new QWidget;
    const int lineHeight = fontMetrics().height();
    auto label = [this](const QString& text, int x, int y, int width, Qt::Alignment align) {
        auto* l = new QLabel(text, content_);
        l->setAlignment(align);
        l->setGeometry(x, y, width, fontMetrics().height());
        return l;
    };

    const QStringList caption = graphA ? QStringList{QStringLiteral("Competitive"), QStringLiteral("Ability"),
                                                     QStringLiteral("Against"), QStringLiteral("Other Species")}
                                       : QStringList{QStringLiteral("Competitive"), QStringLiteral("Mean"),
                                                     QStringLiteral("Ability")};
    const int captionTop = Margin + (Height - lineHeight * int(caption.size())) / 2;
    for (int i = 0; i < caption.size(); ++i)
        label(caption[i], Margin, captionTop + i * lineHeight, CaptionWidth, Qt::AlignLeft | Qt::AlignVCenter);
    // The scale of each panel: 100 at its top, 0 at its bottom.
    for (int top : {0, LowerTop}) {
        label(QStringLiteral("100"), Margin + CaptionWidth, Margin + top, ScaleWidth - 4,
              Qt::AlignRight | Qt::AlignTop);
        label(QStringLiteral("0"), Margin + CaptionWidth, Margin + top + PanelWidth - lineHeight, ScaleWidth - 4,
              Qt::AlignRight | Qt::AlignBottom);
    }
    initial_ = label(QStringLiteral("(initial)"), 0, Margin + (PanelWidth - lineHeight) / 2, InitialWidth(),
                     Qt::AlignLeft | Qt::AlignVCenter);
    growthRate_ = label(QStringLiteral("Growth Rate"), 0, 0, PanelWidth, Qt::AlignCenter);

    picture_ = new PlotPicture(content_);
    picture_->move(PictureLeft, Margin);
    QImage blank(PanelWidth, Height, QImage::Format_RGB32);
    blank.fill(Qt::white);
    picture_->SetPicture(blank);

    area_ = new QScrollArea(this);
    area_->setFrameShape(QFrame::NoFrame);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setWidget(content_);
    Arrange(PanelWidth);
}

int TGCGraphForm::InitialWidth() const { return fontMetrics().horizontalAdvance(QStringLiteral("(initial)")) + 8; }

void TGCGraphForm::Arrange(int pictureWidth)
{
    const int lineHeight = fontMetrics().height();
    for (QLabel* l : panelLabels_)
        delete l;
    panelLabels_.clear();
    // "0" and "100" under the left and right edge of every panel, kept inside the panel so
    // that neighbouring panels' labels do not run together.
    const int axisTop = Margin + Height + 2;
    const int labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("100")) + 4;
    for (int left = 0; left + PanelWidth <= std::max(pictureWidth, PanelWidth); left += PanelStride) {
        auto* zero = new QLabel(QStringLiteral("0"), content_);
        zero->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        zero->setGeometry(PictureLeft + left, axisTop, labelWidth, lineHeight);
        auto* hundred = new QLabel(QStringLiteral("100"), content_);
        hundred->setAlignment(Qt::AlignRight | Qt::AlignTop);
        hundred->setGeometry(PictureLeft + left + PanelWidth - labelWidth, axisTop, labelWidth, lineHeight);
        for (QLabel* l : {zero, hundred}) {
            l->show();
            panelLabels_.push_back(l);
        }
    }
    initial_->move(PictureLeft + pictureWidth + 6, initial_->y());
    growthRate_->setGeometry(PictureLeft, axisTop + lineHeight + 2, std::min(pictureWidth, PanelWidth), lineHeight);

    const int contentWidth = PictureLeft + pictureWidth + 6 + InitialWidth() + Margin;
    const int contentHeight = axisTop + 2 * lineHeight + 2 + Margin;
    content_->setFixedSize(contentWidth, contentHeight);
    const bool scrolls = contentWidth > MaxClientWidth;
    const int clientWidth = std::min(contentWidth, MaxClientWidth);
    const int clientHeight = contentHeight + (scrolls ? area_->horizontalScrollBar()->sizeHint().height() : 0);
    setFixedSize(clientWidth, clientHeight);
    area_->setGeometry(0, 0, clientWidth, clientHeight);
}

void TGCGraphForm::ShowGraph(const QImage& picture)
{
    // Graph A's image control takes the size of the picture; the other's is always one panel wide.
    if (graphA_ && picture.width() != picture_->width())
        Arrange(picture.width());
    picture_->SetPicture(picture);
    if (isHidden())
        show();
}

void TGCGraphForm::RefreshGraph(const QImage& picture) { picture_->SetPicture(picture); }

QStringList TGCGraphForm::LabelTexts() const
{
    QStringList texts;
    for (const QLabel* l : content_->findChildren<QLabel*>())
        texts << l->text();
    return texts;
}

} // namespace quorrel
