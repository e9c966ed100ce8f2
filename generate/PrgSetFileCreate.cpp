// Writes the default family of set files beside the program, asking before
// each existing file is overwritten.
#include "app/TForm1.h"
#include "generate/DefaultSetFiles.h"
#include "platform/services.h"
#include "platform/text.h"

namespace app {

void TForm1::PrgSetFileCreate() {
    const std::string name = comparableProgramName();
    const bool family90 = platform::equalsIgnoreAsciiCase(name, "TARVO.EXE");
    const bool family80 = platform::equalsIgnoreAsciiCase(name, "TARVO16.EXE");
    if (!family90 && !family80) return;
    // The items start this very program, named as the platform names it.
    const std::string program =
        platform::backend().programNameForItems(family80 ? "TARVO16.EXE" : "TARVO.EXE");
    for (const generate::DefaultSetFile& file :
         generate::defaultSetFiles(family80, settings.WindowsDir, settings.TarvoDir, program, systemKind)) {
        const std::string path = programDirectory() + file.name;
        if (platform::files().exists(path)) {
            std::string question = text({"   " + file.name + " が存在します。上書きしていいですか。    ",
                                         "   " + file.name + " is already exist. Do you overwrite ?    "});
            if (MsgDialog02(question, kYes, kNo) != platform::mr::Yes) continue;
        }
        // A failure escapes and ends the first-start setup as well.
        setfile::writeSetFile(path, file.items, file.count);
    }
}

}  // namespace app
