#!/usr/bin/env python3
"""Turns resources/strings.json, the one source of the launcher's texts, into:

  strings.rc          string-table resources, one block per language (Windows)
  language_codes.cpp  the selectable language codes and their LANGIDs
  string_table.cpp    the same texts embedded as data, for builds without
                      string-table resources (kept apart so that a build that
                      has them links only the codes)
  string_ids.h        the resource ids
  help_address.h      the built-in default help address
"""
import json
import sys
from pathlib import Path


def help_url(table, tag):
    return f"http://{table['helpHost']}{table['helpPath']}{tag}"


def texts_of(table, language):
    """Resource id -> text for one language."""
    ids = table["ids"]
    body = (language["before"] + '<a href="' + help_url(table, language["helpTag"]) + '">' +
            language["link"] + "</a>" + language["after"])
    return {
        ids["IDS_PRODUCT_NAME"]: table["productName"],
        ids["IDS_RUNTIME_MISSING_TITLE"]: language["title"],
        ids["IDS_RUNTIME_MISSING_TEXT"]: body,
        ids["IDS_BUTTON_OK"]: language["ok"],
        ids["IDS_LAUNCHER_NAME"]: table["launcherName"],
        ids["IDS_BUTTON_HELP"]: language["help"],
    }


def rc_literal(text):
    return '"' + text.replace('"', '""') + '"'


def cpp_literal(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in '"\\':
            out.append("\\" + ch)
        elif 0x20 <= code < 0x7F:
            out.append(ch)
        elif code <= 0xFFFF:
            out.append(f"\\u{code:04X}")
        else:
            out.append(f"\\U{code:08X}")
    return 'u"' + "".join(out) + '"'


def write_if_changed(path, content):
    if not path.exists() or path.read_text(encoding="utf-8") != content:
        path.write_text(content, encoding="utf-8")


def main(source, out_dir):
    table = json.loads(Path(source).read_text(encoding="utf-8"))
    out = Path(out_dir)
    out.mkdir(parents=True, exist_ok=True)
    header = "// Generated from resources/strings.json; edit that file instead.\n"

    ids = "".join(f"constexpr unsigned {name} = {value};\n" for name, value in table["ids"].items())
    write_if_changed(out / "string_ids.h",
                     header + "#pragma once\n\nnamespace zep {\n\n" + ids + "\n}  // namespace zep\n")

    write_if_changed(out / "help_address.h", header + "#pragma once\n\nnamespace zep {\n\n"
                     "// The English help page, used until a language option names another.\n"
                     f"inline constexpr char16_t kDefaultHelpUrl[] = "
                     f"{cpp_literal(help_url(table, table['defaultHelpTag']))};\n\n}}  // namespace zep\n")

    rc = ["#pragma code_page(65001)", "// Generated from resources/strings.json; edit that file instead.", ""]
    for language in table["languages"]:
        langid = language["langid"]
        rc.append(f"LANGUAGE 0x{langid & 0x3FF:02X}, 0x{langid >> 10:02X}")
        rc.append("STRINGTABLE")
        rc.append("BEGIN")
        for ident, text in sorted(texts_of(table, language).items()):
            rc.append(f"    {ident} {rc_literal(text)}")
        rc.append("END")
        rc.append("")
    write_if_changed(out / "strings.rc", "\n".join(rc))

    rows, languages = [], []
    for language in table["languages"]:
        languages.append(f"    {{{cpp_literal(language['code'])}, {language['langid']}}},")
        for ident, text in sorted(texts_of(table, language).items()):
            rows.append(f"    {{{language['langid']}, {ident}, {cpp_literal(text)}}},")
    opening = header + '#include "resources/string_table.h"\n\nnamespace zep {\n\n'
    write_if_changed(out / "language_codes.cpp", opening +
                     "const LanguageCode kLanguageCodes[] = {\n" + "\n".join(languages) + "\n};\n"
                     f"const std::size_t kLanguageCodeCount = {len(languages)};\n\n"
                     "}  // namespace zep\n")
    write_if_changed(out / "string_table.cpp", opening +
                     "const EmbeddedString kEmbeddedStrings[] = {\n" + "\n".join(rows) + "\n};\n"
                     f"const std::size_t kEmbeddedStringCount = {len(rows)};\n\n"
                     "}  // namespace zep\n")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: generate_strings.py strings.json OUTPUT_DIRECTORY")
    main(sys.argv[1], sys.argv[2])
