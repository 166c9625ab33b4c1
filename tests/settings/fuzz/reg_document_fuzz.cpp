// libFuzzer target for the registry file parser: any bytes must parse
// without a crash, a hang or a sanitizer report, and writing what was read
// and reading it again must give the same text.
#include "settings/reg_document.h"
#include "settings/registry_roots.h"

#include <cstdint>
#include <cstdlib>

using namespace wendle;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    RegDocument document = RegDocument::parse(input);
    const QByteArray first = document.serialize();
    const QByteArray second = RegDocument::parse(first).serialize();
    if (first != second)
        std::abort();

    // The writers' changes on top of whatever was read.
    const QString key = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvel\\Utils\\Wendle");
    document.setValue(key, QStringLiteral("Autostart"),
                      RegValue{RegType::Dword, QByteArray(4, '\1')});
    document.removeValue(key, QStringLiteral("LogFolder"));
    const RegDocument again = RegDocument::parse(document.serialize());
    const RegValue *value = again.value(key, QStringLiteral("autostart"));
    if (!value || value->data != QByteArray(4, '\1'))
        std::abort();
    if (again.unparsedLineCount() != document.unparsedLineCount())
        std::abort();
    return 0;
}
