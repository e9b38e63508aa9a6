// The readout command of the main window: the connection dialog, the link, the readout engine,
// the completion message and the refilled crane selector.
#include "app/MainFrame.h"
#include "app/guiLog.h"
#include "app/imageWithMask.h"
#include "app/uiText.h"
#include "data/readout.h"
#include "dialogs/ConnectDialog.h"
#include "dialogs/InfoDialog.h"
#include "link/comm.h"

void MainFrame::readRecorder()
{
    if (!askToKeepUnsavedCranes())
        return;
    ConnectDialog* dialog = new ConnectDialog(this, &portName);
    connectResult = dialog->ShowModal();
    // Whatever the choice: the selector and the graph list are emptied with the cranes, so that
    // nothing repainted while the link runs (or the message below is up) reaches a deleted crane.
    clearCranes();
    if (connectResult != wxID_NO) {
        comm link(logStatus, logError);
        if (openChosenLink(link, connectResult, portName) &&
            readDevice(link, cranes, logStatus, logError)) {
            InfoDialog* done =
                new InfoDialog(this, ui("Считывание завершено"), ui("Cчитывание данных успешно завершено"),
                               imageWithMask(loadPng(connectionPicture(connectResult))));
            done->ShowModal();
            done->Destroy();
        }
        unsavedCranes = !cranes.empty();
    }
    showCranes();
    dialog->Destroy();
}
