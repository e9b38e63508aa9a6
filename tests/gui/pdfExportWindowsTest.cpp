// The export's PDF on Windows, where its pages are pictures (export/pdfPagesWindows.cpp): the
// menu command writes every crane's protocol and graphs, each page a picture of the page as it
// prints.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/cmndata.h>
#include <wx/filepicker.h>
#include <wx/radiobox.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>
#include <zlib.h>

#include "app/BrennixApp.h"
#include "app/MainFrame.h"
#include "app/exportCommands.h"
#include "app/guiLog.h"
#include "app/uiText.h"
#include "data/dataFile.h"
#include "export/ExportDialog.h"
#include "tests/gui/guiSupport.h"
#include "tests/support/timeZone.h"

namespace fs = std::filesystem;

namespace {

struct picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};

// The pictures of the PDF's pages, in order.
std::vector<picture> pagePictures(const fs::path& pdf)
{
    std::ifstream in(pdf, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), {});
    std::vector<picture> pictures;
    for (std::size_t at = file.find("/Subtype /Image"); at != std::string::npos;
         at = file.find("/Subtype /Image", at + 1)) {
        picture page;
        page.width = std::stoi(file.substr(file.find("/Width ", at) + 7));
        page.height = std::stoi(file.substr(file.find("/Height ", at) + 8));
        const std::size_t length = std::stoul(file.substr(file.find("/Length ", at) + 8));
        const std::size_t data = file.find("stream\n", at) + 7;
        page.rgb.resize(static_cast<std::size_t>(page.width) * page.height * 3);
        uLongf size = static_cast<uLongf>(page.rgb.size());
        EXPECT_EQ(uncompress(page.rgb.data(), &size, reinterpret_cast<const Bytef*>(file.data() + data),
                             static_cast<uLong>(length)), Z_OK);
        pictures.push_back(std::move(page));
    }
    return pictures;
}

// Pixels of the graph's curve: green.
int curvePixels(const picture& page)
{
    int count = 0;
    for (std::size_t i = 0; i + 2 < page.rgb.size(); i += 3)
        count += page.rgb[i + 1] > 200 && page.rgb[i] < 120 && page.rgb[i + 2] < 120;
    return count;
}

int inkPixels(const picture& page)
{
    int count = 0;
    for (std::size_t i = 0; i + 2 < page.rgb.size(); i += 3)
        count += page.rgb[i] < 128 && page.rgb[i + 1] < 128 && page.rgb[i + 2] < 128;
    return count;
}

class PdfExportWindows : public FrameTest {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("brennix-pdf-" + std::to_string(wxGetProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        ASSERT_NE(readDataFile(BRENNIX_EXPORT_FIXTURE, frame->cranes, logError), DataFileResult::readError);
        frame->showCranes();
        RecordingLog::messages().clear();
    }
    void TearDown() override
    {
        fs::remove_all(folder);
        FrameTest::TearDown();
    }

    FreshPrintSettings settings;
    fs::path folder;
    ScopedTimeZone zone{"UTC"};
};

TEST_F(PdfExportWindows, EveryCranesProtocolAndGraphsArePicturesOfTheirPrintedPages)
{
    ModalScript script({[this](wxDialog* dialog) {
        ExportDialog* exportDialog = dynamic_cast<ExportDialog*>(dialog);
        ASSERT_NE(exportDialog, nullptr);
        wxRadioBox* cranes = exportDialog->cranesBox();
        cranes->SetSelection(1);
        wxCommandEvent event(wxEVT_RADIOBOX, cranes->GetId());
        event.SetInt(1);
        event.SetEventObject(cranes);
        cranes->ProcessWindowEvent(event);
        // The folder typed as the user types it, over the text selected.
        wxTextCtrl* field = exportDialog->folderPicker()->GetTextCtrl();
        field->SetFocus();
        field->SelectAll();
        wxUIActionSimulator().Text(folder.u8string().c_str());
        for (int i = 0; i < 200 && field->GetValue() != wxString(folder.wstring()); ++i)
            wxTheApp->Yield();
        EXPECT_EQ(field->GetValue(), wxString(folder.wstring()));
        click(dialog, wxID_OK);
    }});
    command(frame, ID_EXPORT_PDF);
    EXPECT_EQ(script.played(), 1u);
    for (const auto& [level, text] : RecordingLog::messages())
        EXPECT_NE(level, wxLOG_Error) << text.utf8_string();

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().u8string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names, (std::vector<std::string>{"2741_2024-03-14.pdf", "512_2024-03-14.pdf", "77_2024-03-14.pdf"}));

    const std::vector<picture> pages = pagePictures(folder / "2741_2024-03-14.pdf");
    ASSERT_EQ(pages.size(), 6u) << "the protocol and 5 graphs";
    // A4 at 192 dots per inch.
    EXPECT_EQ(pages[0].width, 1587);
    EXPECT_EQ(pages[0].height, 2245);
    EXPECT_GT(inkPixels(pages[0]), 20000) << "the protocol's text";
    EXPECT_EQ(curvePixels(pages[0]), 0);
    EXPECT_GT(curvePixels(pages[3]), 2000) << "a graph's curve";
}

}  // namespace
