#include "ui/TSpaceTimeForm.h"

#include "ui/OutputWindowFlags.h"
#include "ui/PlotPicture.h"
#include "ui/PlotScrollArea.h"

namespace quorrel {

TSpaceTimeForm::TSpaceTimeForm() : QWidget(nullptr, OutputWindowFlags)
{
    setWindowTitle(QStringLiteral("Space-Time Plot"));
    picture_ = new PlotPicture(nullptr);
    area_ = new PlotScrollArea(picture_, this);
    area_->ApplySize({200, 200, 208, 227});
}

void TSpaceTimeForm::RefreshSpaceTimePlot(const QImage& picture, int newestRow)
{
    picture_->SetRows(picture, newestRow);
    area_->FollowRow(newestRow);
}

void TSpaceTimeForm::ShowSpaceTimeWindow(const PlotWindowSize& size)
{
    picture_->ForgetRows();
    area_->ApplySize(size);
    if (isHidden())
        show();
}

} // namespace quorrel
