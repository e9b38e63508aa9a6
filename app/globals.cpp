#include "app/globals.h"

#include <wx/config.h>

int32_t portSpeed = 9600;
int32_t numberOfSensors = 1;
int32_t recorderEpoch = 0;

serialSettings configuredSerialSettings()
{
    return {portSpeed, [](int portNumber) {
                wxString device;
                if (!wxConfigBase::Get()->Read(wxString::Format("/Com/COM%d", portNumber), &device))
                    return std::string();
                return device.utf8_string();
            }};
}
