// libFuzzer target for the workbook reader: any file, and any worksheet XML inside an otherwise
// sound workbook, must be read or refused without a crash, a hang or a sanitizer report, and a
// refusal always says what is wrong with the file.
#include "report/sessionworkbook.h"
#include "workbook/workbookreader.h"

#include <QTemporaryDir>

#include <minizip/zip.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace quorvia;

namespace {

const char* const kWorkbook =
    "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"
    "</workbook>";
const char* const kRelationships =
    "<Relationships><Relationship Id=\"rId1\" Type=\"t/worksheet\" "
    "Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"t/sharedStrings\" Target=\"sharedStrings.xml\"/>"
    "</Relationships>";
const char* const kStrings =
    "<sst><si><t>Participant's ID :   P07</t></si><si><t>On/Off</t></si><si><t>Hits</t></si>"
    "<si><r><t>Session Finished</t></r><r><t> at   09:00:00.00</t></r></si></sst>";

bool addPart(zipFile zip, const char* name, const void* data, std::size_t size) {
    return zipOpenNewFileInZip(zip, name, nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                               Z_DEFAULT_COMPRESSION) == ZIP_OK &&
           zipWriteInFileInZip(zip, data, static_cast<unsigned>(size)) == ZIP_OK &&
           zipCloseFileInZip(zip) == ZIP_OK;
}

void expectReadOrRefused(const QString& path) {
    const SessionWorkbookResult result = readSessionWorkbook(path);
    if (result.workbook ? !result.error.isEmpty() : !result.error.startsWith(u"fuzz.xlsx "))
        std::abort();
    for (const WorkbookSlot& slot :
         result.workbook ? result.workbook->keySlots : std::vector<WorkbookSlot>()) {
        if (static_cast<std::int64_t>(slot.values.size()) != result.workbook->intervalCount)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fuzz.xlsx"));
    const QByteArray name = path.toLocal8Bit();

    // The bytes as the whole file.
    if (std::FILE* file = std::fopen(name.constData(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        expectReadOrRefused(path);
    }

    // The bytes as the worksheet of a workbook.
    zipFile zip = zipOpen(name.constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return 0;
    const bool made =
        addPart(zip, "xl/workbook.xml", kWorkbook, std::strlen(kWorkbook)) &&
        addPart(zip, "xl/_rels/workbook.xml.rels", kRelationships, std::strlen(kRelationships)) &&
        addPart(zip, "xl/sharedStrings.xml", kStrings, std::strlen(kStrings)) &&
        addPart(zip, "xl/worksheets/sheet1.xml", data, size);
    if (zipClose(zip, nullptr) == ZIP_OK && made)
        expectReadOrRefused(path);
    return 0;
}
