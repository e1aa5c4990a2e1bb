#!/usr/bin/env python3
"""Writes the texts the tests expect, as C++ constants, from resources/strings.json,
the one file that holds them:

    generate_expected_texts.py strings.json expected_text_table.h

Only the pieces are written out; the tests put the notice bodies and help
addresses together themselves (tests/support/expected_texts.h), so that the
product's own assembly of them is checked.
"""
import json
import sys
from pathlib import Path

# The product's generator writes literals and files the same way; nothing is
# cached beside it in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "resources"))
from generate_strings import cpp_literal as literal, write_if_changed  # noqa: E402


def main(source, target):
    table = json.loads(Path(source).read_text(encoding="utf-8"))
    fields = ("code", "langid", "helpTag", "title", "ok", "help", "before", "link", "after")
    rows = []
    for language in table["languages"]:
        values = [str(language[f]) if f == "langid" else literal(language[f]) for f in fields]
        rows.append("    {" + ", ".join(values) + "},")
    stem = "http://" + table["helpHost"] + table["helpPath"]
    content = "\n".join([
        "// Generated from resources/strings.json by tests/support/generate_expected_texts.py; edit that file instead.",
        "#pragma once",
        "",
        "#include <cstdint>",
        "#include <string_view>",
        "",
        "namespace zep::test {",
        "",
        "struct ExpectedLanguage {",
        "    std::u16string_view code;  // what -Duser.language= takes",
        "    std::uint16_t langid;",
        "    std::u16string_view helpTag;",
        "    std::u16string_view title;   // id 106",
        "    std::u16string_view ok;      // id 108",
        "    std::u16string_view help;    // id 110",
        "    std::u16string_view before;  // id 107: before, anchor with link, after",
        "    std::u16string_view link;",
        "    std::u16string_view after;",
        "};",
        "",
        "inline constexpr ExpectedLanguage kExpectedLanguages[] = {",
        *rows,
        "};",
        "",
        f"inline constexpr std::u16string_view kExpectedProductName = {literal(table['productName'])};  // id 103",
        f"inline constexpr std::u16string_view kExpectedLauncherName = {literal(table['launcherName'])};  // id 109",
        "// Every help address is this stem and a language's tag.",
        f"inline constexpr std::u16string_view kExpectedHelpAddressStem = {literal(stem)};",
        "inline constexpr std::u16string_view kExpectedDefaultHelpUrl = "
        f"{literal(stem + table['defaultHelpTag'])};",
        "",
        "}  // namespace zep::test",
        "",
    ])
    path = Path(target)
    path.parent.mkdir(parents=True, exist_ok=True)
    write_if_changed(path, content)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: generate_expected_texts.py strings.json OUTPUT_HEADER")
    main(sys.argv[1], sys.argv[2])
