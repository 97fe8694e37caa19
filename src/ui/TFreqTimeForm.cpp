#include "ui/TFreqTimeForm.h"

#include "ui/OutputWindowFlags.h"
#include "ui/PlotPicture.h"
#include "ui/PlotScrollArea.h"

#include <algorithm>

namespace quorrel {

TFreqTimeForm::TFreqTimeForm(const QString& caption) : QWidget(nullptr, OutputWindowFlags)
{
    setWindowTitle(caption);
    content_ = new QWidget;
    individuals_ = new PlotPicture(content_);
    values_ = new PlotPicture(content_);
    values_->move(ValuesLeft, 0);
    content_->setFixedSize(ValuesLeft + 100, 0);
    area_ = new PlotScrollArea(content_, this);
    area_->ApplySize({204, 200, 212, 227});
}

void TFreqTimeForm::RefreshFreqTimePlot(const QImage& individuals, const QImage& values, int newestRow)
{
    individuals_->SetRows(individuals, newestRow);
    values_->SetRows(values, newestRow);
    content_->setFixedHeight(std::max(individuals.height(), values.height()));
    area_->FollowRow(newestRow);
}

void TFreqTimeForm::ShowFreqTimeWindow(const PlotWindowSize& size)
{
    individuals_->ForgetRows();
    values_->ForgetRows();
    area_->ApplySize(size);
    if (isHidden())
        show();
}

} // namespace quorrel
