// The readout command of the main window: the connection dialog, the link, the readout engine
// with its progress, the completion message and the refilled crane selector.
#include "app/MainFrame.h"
#include "app/globals.h"
#include "app/guiLog.h"
#include "app/imageWithMask.h"
#include "app/uiText.h"
#include "data/readout.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/InfoDialog.h"
#include "dialogs/ProgressDialog.h"
#include "link/comm.h"

void MainFrame::readRecorder()
{
    if (!askToKeepUnsavedCranes())
        return;
    std::string chosenPort = preselectedPort;
    ConnectDialog* dialog = new ConnectDialog(this, &chosenPort, preselectedWay);
    const int32_t chosen = dialog->ShowModal();
    dialog->Destroy();
    // A cancelled choice reads nothing and so changes nothing: the cranes held stay, and with
    // them the connection they came through, which the settings page writes back to.
    if (!isConnectionChoice(chosen))
        return;
    connectResult = chosen;
    portName = chosenPort;
    preselectedWay = chosen;
    if (!chosenPort.empty())
        preselectedPort = chosenPort;
    // The selector and the graph list are emptied with the cranes, so that nothing repainted
    // while the link runs (or the message below is up) reaches a deleted crane. No status text
    // of an earlier readout stays to speak for this one.
    clearCranes();
    SetStatusText(wxString());

    const wxBitmap picture = imageWithMask(loadPng(connectionPicture(connectResult)));
    ProgressDialog* progress = new ProgressDialog(this, picture);
    bool complete = false;
    {
        comm link(logStatus, logError);
        link.setCancelCheck([progress] { return progress->stopRequested(); });
        if (openChosenLink(link, connectResult, portName))
            complete = readDevice(link, cranes, recorderEpoch, logStatus, logError,
                                  [progress](const readoutProgress& step) { progress->show(step); });
        else if (link.cancelled())
            reportCancelled(cranes, logStatus);
    }
    unsavedCranes = !cranes.empty();
    progress->end();
    if (complete) {
        InfoDialog* done = new InfoDialog(this, ui("Считывание завершено"),
                                          ui("Cчитывание данных успешно завершено"), picture);
        done->ShowModal();
        done->Destroy();
    }
    showCranes();
}
