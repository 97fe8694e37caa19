#include "ui/TOutcomeStatsForm.h"

#include "output/OutcomeStatistics.h"
#include "ui/OutputWindowFlags.h"
#include "ui/PlotPicture.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

namespace quorrel {

namespace {

constexpr int Margin = 10;
constexpr int NameWidth = 64;
constexpr int ScaleWidth = 30;
constexpr int PlotWidth = OutcomeStatistics::PlotWidth;
constexpr int PlotHeight = OutcomeStatistics::PlotHeight;
constexpr int GroupWidth = NameWidth + ScaleWidth + PlotWidth;
constexpr int GroupGap = 24;
constexpr int HeaderHeight = 24;
constexpr int RowGap = 14;
constexpr int FieldWidth = 64;
constexpr int FieldHeight = 22;

int RowTop(int row) { return Margin + HeaderHeight + row * (PlotHeight + RowGap); }

QImage BlankPlot()
{
    QImage blank(PlotWidth, PlotHeight, QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
}

} // namespace

TOutcomeStatsForm::TOutcomeStatsForm() : QWidget(nullptr, OutputWindowFlags)
{
    setWindowTitle(QStringLiteral("Statistics: Outcomes"));
    auto* content = new QWidget;
    const int lineHeight = fontMetrics().height();
    auto label = [content](const QString& text, int x, int y, int width, int height, Qt::Alignment align) {
        auto* l = new QLabel(text, content);
        l->setAlignment(align);
        l->setGeometry(x, y, width, height);
        return l;
    };

    const QString groups[] = {QStringLiteral("Average probability of"), QStringLiteral("Average genotype of")};
    const QString names[] = {QStringLiteral("Win"), QStringLiteral("Loss"), QStringLiteral("Standoff")};
    for (int group = 0; group < 2; ++group) {
        const int left = Margin + group * (GroupWidth + GroupGap);
        const int plotLeft = left + NameWidth + ScaleWidth;
        QLabel* header = label(groups[group], plotLeft, Margin, PlotWidth, HeaderHeight - 4, Qt::AlignCenter);
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        for (int row = 0; row < 3; ++row) {
            const int top = RowTop(row);
            label(names[row], left, top + (PlotHeight - lineHeight) / 2, NameWidth, lineHeight,
                  Qt::AlignLeft | Qt::AlignVCenter);
            const int levels[] = {100, 50, 0};
            const int levelRows[] = {0, PlotHeight / 2, PlotHeight - 1};
            for (int i = 0; i < 3; ++i)
                label(QString::number(levels[i]), left + NameWidth, top + levelRows[i] - lineHeight / 2,
                      ScaleWidth - 4, lineHeight, Qt::AlignRight | Qt::AlignVCenter);
            PlotPicture* plot = new PlotPicture(content);
            plot->move(plotLeft, top);
            plot->SetPicture(BlankPlot());
            plots_[group * 3 + row] = plot;
        }
    }

    // "Time (in generations, from 0 to" GenTotal ")", centred under the plots.
    const int axisTop = RowTop(3) - RowGap + 8;
    const QString before = QStringLiteral("Time (in generations, from 0 to");
    const int beforeWidth = fontMetrics().horizontalAdvance(before) + 6;
    const int closeWidth = fontMetrics().horizontalAdvance(QStringLiteral(")")) + 6;
    const int totalWidth = 2 * GroupWidth + GroupGap;
    const int lineLeft = Margin + (totalWidth - beforeWidth - FieldWidth - closeWidth) / 2;
    label(before, lineLeft, axisTop, beforeWidth - 4, FieldHeight, Qt::AlignRight | Qt::AlignVCenter);
    GenTotal = new QLineEdit(content);
    GenTotal->setReadOnly(true);
    GenTotal->setFocusPolicy(Qt::NoFocus);
    GenTotal->setAlignment(Qt::AlignCenter);
    GenTotal->setGeometry(lineLeft + beforeWidth, axisTop, FieldWidth, FieldHeight);
    label(QStringLiteral(")"), lineLeft + beforeWidth + FieldWidth, axisTop, closeWidth, FieldHeight,
          Qt::AlignLeft | Qt::AlignVCenter);
    const QSize size(Margin + totalWidth + Margin, axisTop + FieldHeight + Margin);
    content->setFixedSize(size);
    // Cut down to the screen, the plots scroll.
    auto* area = new QScrollArea(this);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(content);
    area->setGeometry(QRect(QPoint(), size));
    setFixedSize(size);
}

void TOutcomeStatsForm::ShowOutcomePlots(const std::array<QImage, 6>& plots, int maxgen)
{
    RefreshOutcomePlots(plots);
    GenTotal->setText(QString::number(maxgen));
    if (isHidden())
        show();
}

void TOutcomeStatsForm::RefreshOutcomePlots(const std::array<QImage, 6>& plots)
{
    for (size_t t = 0; t < plots.size(); ++t)
        if (!plots[t].isNull())
            plots_[t]->SetPicture(plots[t]);
}

} // namespace quorrel
