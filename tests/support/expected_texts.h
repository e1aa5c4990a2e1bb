#pragma once
// The launcher's texts as the product defines them, written out here by hand
// and on purpose not derived from resources/strings.json, so that the tests
// check the generated table against an independent copy.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zep::test {

struct ExpectedLanguage {
    std::u16string_view code;  // what -Duser.language= takes
    std::uint16_t langid;
    std::u16string_view helpTag;
    std::u16string_view title;   // id 106
    std::u16string_view ok;      // id 108
    std::u16string_view help;    // id 110
    std::u16string_view before;  // id 107: before, anchor with link, after
    std::u16string_view link;
    std::u16string_view after;
};

inline constexpr ExpectedLanguage kExpectedLanguages[] = {
    {u"es", 10, u"esp", u"No se ha encontrado Java Runtime", u"Aceptar", u"Ayuda",
     u"Para utilizar este servicio de simulación, instale una versión de Java Runtime Environment admitida. "
     u"Para facilitar la instalación, consulte los ",
     u"Requisitos de Java para Gridmere ", u"."},
    {u"de", 1031, u"deu", u"Java Runtime nicht gefunden", u"OK", u"Hilfe",
     u"Installieren Sie eine unterstützte Java Runtime-Umgebung, um diesen Simulationsdienst zu verwenden. "
     u"Hilfe zur Installation finden Sie unter ",
     u"Java-Anforderungen für Gridmere", u"."},
    {u"en_GB", 1033, u"eng", u"Java Runtime Not Found", u"OK", u"Help",
     u"Please install a supported Java Runtime Environment to use this simulation service. "
     u"For help installing, see ",
     u"Java Requirements for Gridmere", u"."},
    {u"fr", 1036, u"fra", u"Java Runtime introuvable", u"OK", u"Aide",
     u"Veuillez installer une version de Java Runtime Environment prise en charge pour utiliser ce service de "
     u"simulation. Pour obtenir de l'aide sur l'installation, reportez-vous à la rubrique ",
     u"Exigences Java pour Gridmere", u"."},
    {u"it", 1040, u"ita", u"Impossibile trovare Java Runtime", u"OK", u"?",
     u"Installare un ambiente Java Runtime Environment per utilizzare questo servizio di simulazione. "
     u"Per assistenza relativa all'installazione, vedere ",
     u"Requisiti Java per Gridmere", u"."},
    {u"ja", 1041, u"jpn", u"Java Runtime が見つかりません", u"OK", u"ヘルプ",
     u"このシミュレーション サービスを使用するには、サポートされている Java Runtime Environment を"
     u"インストールしてください。インストール方法については、「",
     u"Gridmere の Java 要件", u"」を参照してください。"},
    {u"pt", 1046, u"ptb", u"Java Runtime não encontrado", u"OK", u"Ajuda",
     u"Instale um Java Runtime Environment compatível para utilizar este serviço de simulação. "
     u"Para obter ajuda com a instalação, consulte ",
     u"Requisitos de Java para Gridmere", u"."},
    {u"ru", 1049, u"rus", u"Не удалось найти Java Runtime", u"\u041E\u041A", u"Справка",
     u"Установите поддерживаемую версию Java Runtime Environment для использования данной службы "
     u"моделирования. Справку по установке см. в ",
     u"требованиях Java для Gridmere", u"."},
    {u"zh", 2052, u"chs", u"找不到 Java Runtime", u"确定", u"帮助",
     u"请安装受支持的 Java Runtime Environment 以使用此模拟服务。有关安装的帮助信息，请参见 ", u"Gridmere 的 Java 要求",
     u"。"},
};

inline constexpr std::u16string_view kExpectedProductName = u"Gridmere";  // id 103
inline constexpr std::u16string_view kExpectedLauncherName = u"zep";      // id 109
inline constexpr std::u16string_view kExpectedDefaultHelpUrl = u"http://help.gridmere.example/gridmere-and-java-enu";

inline std::u16string expectedHelpUrl(const ExpectedLanguage& language) {
    return u"http://help.gridmere.example/gridmere-and-java-" + std::u16string(language.helpTag);
}

// Id 107 as stored, anchor included.
inline std::u16string expectedBody(const ExpectedLanguage& language) {
    return std::u16string(language.before) + u"<a href=\"" + expectedHelpUrl(language) + u"\">" +
           std::u16string(language.link) + u"</a>" + std::u16string(language.after);
}

// Id 107 once the anchor has given way to its link text.
inline std::u16string expectedNotice(const ExpectedLanguage& language) {
    return std::u16string(language.before) + std::u16string(language.link) + std::u16string(language.after);
}

inline const ExpectedLanguage& expectedLanguage(std::u16string_view code) {
    for (const ExpectedLanguage& language : kExpectedLanguages) {
        if (language.code == code) return language;
    }
    throw std::out_of_range("no expected texts for that code");
}

}  // namespace zep::test
