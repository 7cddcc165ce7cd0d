#include "link/StandAloneFile.h"

#include "link/CDmxFile.h"
#include "platform/os/TextMark.h"

namespace {

const char kUnreadable[] = N_("The HEX file %s could not be read. Nothing was written.");
const char kTooLarge[] =
    N_("The HEX file %s is too large to be a StandAlone sequence. Nothing was written.");
// A sequence for the largest EEPROM is a few hundred kilobytes; a file far larger is no sequence
// file and is not read into memory.
constexpr LONG kMaxSequenceFileBytes = 16 * 1024 * 1024;
const char kAddressOutside[] =
    N_("Line %lu of the HEX file names an address outside the EEPROM (0 to %lX hexadecimal). "
       "Nothing was written.");
const char kTooManyValues[] =
    N_("The HEX file holds more than %lu values, more than the EEPROM takes. Nothing was "
       "written.");

}  // namespace

CString LoadStandAloneFile(const CString& path, StandAloneImage& image) {
    CString message;
    CDmxFile file;
    bool tooLarge = false;
    if (!file.Load(path, kMaxSequenceFileBytes, tooLarge)) {
        message.Format(tooLarge ? kTooLarge : kUnreadable, path.GetString());
        return message;
    }
    const StandAloneParse parse =
        ParseStandAloneFile(reinterpret_cast<const BYTE*>(file.GetData()),
                            static_cast<std::size_t>(file.GetSize()), image);
    if (parse == StandAloneParse::AddressOutside) {
        message.Format(kAddressOutside, static_cast<unsigned long>(image.refusedLine),
                       static_cast<unsigned long>(STANDALONE_IMAGE_SIZE - 1));
    } else if (parse == StandAloneParse::TooManyValues) {
        message.Format(kTooManyValues, static_cast<unsigned long>(STANDALONE_IMAGE_SIZE));
    }
    return message;
}
