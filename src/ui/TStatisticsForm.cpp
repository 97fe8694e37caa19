#include "ui/TStatisticsForm.h"

#include "ui/PlotView.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

namespace quorrel {

namespace {

constexpr int Margin = 10;
constexpr int CaptionWidth = 72;
constexpr int ScaleWidth = 30;
constexpr int PlotLeft = Margin + CaptionWidth + ScaleWidth;
constexpr int RowGap = 22;
constexpr int FieldWidth = 64;
constexpr int FieldHeight = 22;

int PlotTop(int index) { return Margin + index * (TStatisticsForm::PlotHeight + RowGap); }

} // namespace

TStatisticsForm::TStatisticsForm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Statistics"));
    content_ = new QWidget;
    BuildPlot(0, {QStringLiteral("Coverage"), QStringLiteral("(%)"), QStringLiteral("of each"),
                  QStringLiteral("species")});
    BuildPlot(1, {QStringLiteral("Average"), QStringLiteral("growth"), QStringLiteral("rates")});
    BuildPlot(2, {QStringLiteral("Average"), QStringLiteral("growth"), QStringLiteral("genotype")});

    const int axisTop = PlotTop(Plots) - RowGap + 6;
    auto makeField = [this, axisTop](int centre) {
        auto* field = new QLineEdit(content_);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setAlignment(Qt::AlignCenter);
        field->setGeometry(centre - FieldWidth / 2, axisTop, FieldWidth, FieldHeight);
        return field;
    };
    midTime_ = makeField(PlotLeft + PlotWidth / 2);
    endTime_ = makeField(PlotLeft + PlotWidth - FieldWidth / 2);
    auto* start = new QLabel(QStringLiteral("0"), content_);
    start->setGeometry(PlotLeft - 10, axisTop, 20, FieldHeight);
    start->setAlignment(Qt::AlignCenter);
    auto* caption = new QLabel(QStringLiteral("Time (generation)"), content_);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(PlotLeft, axisTop + FieldHeight + 4, PlotWidth, FieldHeight);
    const QSize size(PlotLeft + PlotWidth + Margin, axisTop + 2 * FieldHeight + 4 + Margin);
    content_->setFixedSize(size);
    // Cut down to the screen, the plots scroll.
    auto* area = new QScrollArea(this);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(content_);
    area->setGeometry(QRect(QPoint(), size));
    setFixedSize(size);
}

void TStatisticsForm::BuildPlot(int index, const QStringList& caption)
{
    PlotRow& row = rows_[index];
    const int top = PlotTop(index);
    const int lineHeight = fontMetrics().height();
    const int captionTop = top + (PlotHeight - lineHeight * int(caption.size())) / 2;
    for (int i = 0; i < caption.size(); ++i) {
        auto* label = new QLabel(caption[i], content_);
        label->setGeometry(Margin, captionTop + i * lineHeight, CaptionWidth, lineHeight);
        row.labels.push_back(label);
    }
    // Scale labels at the rows of 100, 75, 50, 25 and 0 percent.
    const int levels[] = {100, 75, 50, 25, 0};
    const int scaleRows[] = {0, 49, 99, 149, 199};
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(QString::number(levels[i]), content_);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(Margin + CaptionWidth, top + scaleRows[i] - lineHeight / 2, ScaleWidth - 4, lineHeight);
        row.labels.push_back(label);
    }
    row.picture = new PlotView(QSize(PlotWidth, PlotHeight), content_);
    row.picture->move(PlotLeft - 1, top - 1);
}

void TStatisticsForm::ShowStatisticPlot(int plot, const QImage& picture, int maxgen)
{
    RefreshStatisticPlot(plot, picture);
    SetPlotVisible(plot, true);
    midTime_->setText(QString::number(maxgen / 2));
    endTime_->setText(QString::number(maxgen));
    if (isHidden())
        show();
}

void TStatisticsForm::RefreshStatisticPlot(int plot, const QImage& picture)
{
    if (plot < 1 || plot > Plots || picture.isNull())
        return;
    rows_[plot - 1].picture->SetPicture(picture);
}

void TStatisticsForm::RefreshStatisticArea(int plot, const QImage& picture, const QRect& area)
{
    if (plot < 1 || plot > Plots || picture.isNull())
        return;
    rows_[plot - 1].picture->SetPicture(picture, area);
}

void TStatisticsForm::SetPlotVisible(int plot, bool visible)
{
    PlotRow& row = rows_[plot - 1];
    row.picture->setVisible(visible);
    for (QWidget* label : row.labels)
        label->setVisible(visible);
}

bool TStatisticsForm::PlotVisible(int plot) const { return !rows_[plot - 1].picture->isHidden(); }

const QImage& TStatisticsForm::Picture(int plot) const { return rows_[plot - 1].picture->Picture(); }

void TStatisticsForm::ShowAllPlots()
{
    for (int k = 1; k <= Plots; ++k)
        SetPlotVisible(k, true);
    show();
    raise();
}

} // namespace quorrel
