// The GTK dialog from the inside: the test program shows the notice itself on
// an X server of its own and, from a timer in the dialog's own loop, reads
// what GTK shows (title, texts, buttons) and presses a button as a click does.
// The black-box tests see the window from outside; this is where the labels
// and the body are read back.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "notice/notice_forms.h"
#include "notice/show_notice.h"
#include "platform/localized_strings.h"
#include "platform/text.h"
#include "tests/support/address_recorder.h"
#include "tests/support/environment.h"
#include "tests/support/expected_texts.h"
#include "tests/support/gtk_calls.h"
#include "tests/support/virtual_display.h"

namespace zep::test {
namespace {

namespace fs = std::filesystem;
using notice::NoticeChoice;
using notice::NoticeTexts;
using platform::utf16ToUtf8;
using platform::utf8ToUtf16;

// The GTK functions the test reads the dialog with, from the GTK the notice
// itself loads.
struct Gtk : GtkCalls {
    static const Gtk& get() {
        static const Gtk gtk{GtkCalls::resolve(dlopen("libgtk-3.so.0", RTLD_NOW | RTLD_LOCAL))};
        return gtk;
    }
};

// What a person sees of the dialog.
struct Seen {
    bool shown = false;
    std::string title;
    std::vector<std::string> texts;     // every visible text outside the buttons, in order
    std::vector<std::string> buttons;   // the buttons' visible texts, in order
    std::vector<std::string> defaults;  // the texts of the buttons that Return presses
    bool modal = false;
};

enum class Act { PressOk, PressHelp, CloseWindow };

// Walks the widgets below a dialog in their order.
struct Walk {
    std::vector<std::string> texts;
    std::vector<void*> buttons;

    static void visit(void* widget, void* data) {
        const Gtk& gtk = Gtk::get();
        auto& walk = *static_cast<Walk*>(data);
        if (!gtk.widgetIsVisible(widget)) return;
        if (gtk.isA(widget, gtk.buttonType)) {
            walk.buttons.push_back(widget);
        } else if (gtk.isA(widget, gtk.labelType)) {
            walk.texts.emplace_back(gtk.labelGetText(widget));
        } else if (gtk.isA(widget, gtk.containerType)) {
            gtk.containerForall(widget, visit, data);
        }
    }
};

std::string visibleText(void* button) {
    Walk inside;
    Gtk::get().containerForall(button, Walk::visit, &inside);
    std::string text;
    for (const std::string& part : inside.texts) text += part;
    return text;
}

// A timer in the default main context, which the dialog's loop runs: it looks
// for the shown dialog, reads it and acts on it, or gives up after a while so
// that a dialog that never comes cannot hold the test.
struct Visitor {
    Act act = Act::PressOk;
    Seen seen;
    bool done = false;
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);

    static int tick(void* data) {
        auto& visitor = *static_cast<Visitor*>(data);
        const Gtk& gtk = Gtk::get();
        void* dialog = nullptr;
        Gtk::GList* toplevels = gtk.windowListToplevels();
        for (Gtk::GList* item = toplevels; item != nullptr; item = item->next) {
            if (gtk.isA(item->data, gtk.dialogType) && gtk.widgetGetMapped(item->data)) dialog = item->data;
        }
        gtk.listFree(toplevels);
        if (dialog == nullptr) {
            visitor.done = std::chrono::steady_clock::now() >= visitor.deadline;
            return visitor.done ? 0 : 1;
        }
        visitor.read(dialog);
        visitor.done = true;
        return 0;
    }

    void read(void* dialog) {
        const Gtk& gtk = Gtk::get();
        seen.shown = true;
        const char* title = gtk.windowGetTitle(dialog);
        seen.title = title != nullptr ? title : "";
        seen.modal = gtk.windowGetModal(dialog) != 0;
        Walk walk;
        gtk.containerForall(dialog, Walk::visit, &walk);
        seen.texts = walk.texts;
        for (void* button : walk.buttons) {
            seen.buttons.push_back(visibleText(button));
            if (gtk.widgetHasDefault(button)) seen.defaults.push_back(seen.buttons.back());
        }
        const std::size_t index = act == Act::PressHelp ? 1 : 0;
        if (act == Act::CloseWindow || walk.buttons.size() <= index) {
            gtk.windowClose(dialog);
        } else {
            gtk.buttonClicked(walk.buttons[index]);
        }
    }
};

class NoticeGtk : public ::testing::Test {
protected:
    // One X server and one browser stand-in for the whole program: GTK keeps
    // its display, and GIO the XDG directories it read first.
    static void SetUpTestSuite() {
        display = std::make_unique<VirtualDisplay>();
        setEnvironmentVariable(u"DISPLAY", utf8ToUtf16(display->name()));
        setEnvironmentVariable(u"WAYLAND_DISPLAY", std::nullopt);
        setEnvironmentVariable(u"DBUS_SESSION_BUS_ADDRESS", std::nullopt);
        // Of this process: the tests of this suite may run side by side.
        directory = fs::current_path() / "scratch" / ("NoticeGtk-" + std::to_string(::getpid()));
        fs::remove_all(directory);
        recorder = std::make_unique<AddressRecorder>(directory, "notice_tests");
        for (const auto& [name, value] : recorder->environment()) setEnvironmentVariable(name, value);
    }
    static void TearDownTestSuite() {
        recorder.reset();
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }

    // Runs `show` with the visitor's timer started, and returns what it saw.
    template <typename Show>
    static Seen visit(Act act, Show&& show) {
        Visitor visitor;
        visitor.act = act;
        const unsigned timer = Gtk::get().timeoutAdd(50, Visitor::tick, &visitor);
        show();
        if (!visitor.done) {
            ADD_FAILURE() << "the notice returned without ever showing its dialog";
            Gtk::get().sourceRemove(timer);  // it must not outlive the visitor
        }
        return visitor.seen;
    }

    static inline std::unique_ptr<VirtualDisplay> display;
    static inline std::unique_ptr<AddressRecorder> recorder;
    static inline fs::path directory;
};

TEST_F(NoticeGtk, EveryLanguageTitlesLabelsAndFillsItsDialog) {
    for (const ExpectedLanguage& language : kExpectedLanguages) {
        SCOPED_TRACE(utf16ToUtf8(language.code));
        notice::NoticeText prepared;
        prepared.language = language.langid;
        prepared.body = expectedNotice(language);
        prepared.helpUrl = expectedHelpUrl(language);
        const Seen seen = visit(Act::PressOk, [&] { notice::showRuntimeMissingNotice(prepared); });
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.title, utf16ToUtf8(language.title));
        EXPECT_EQ(seen.texts, std::vector<std::string>{utf16ToUtf8(expectedNotice(language))});
        EXPECT_EQ(seen.buttons, (std::vector<std::string>{utf16ToUtf8(language.ok), utf16ToUtf8(language.help)}));
        EXPECT_EQ(seen.defaults, std::vector<std::string>{utf16ToUtf8(language.ok)});
        EXPECT_TRUE(seen.modal);
    }
    EXPECT_EQ(recorder->opened(false), std::vector<std::string>{}) << "OK opens nothing";
}

TEST_F(NoticeGtk, WithoutALanguageTheBodyIsEmptyAndClosingTheWindowIsLikeOk) {
    const ScopedEnvironmentVariable locale(u"LC_ALL", u"C");  // the user's language then decides: English
    const Seen seen = visit(Act::CloseWindow, [] {
        notice::NoticeText unprepared;
        unprepared.helpUrl = kExpectedDefaultHelpUrl;
        notice::showRuntimeMissingNotice(unprepared);
    });
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, "Java Runtime Not Found");
    EXPECT_EQ(seen.texts, std::vector<std::string>{""});
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK", "Help"}));
    EXPECT_EQ(recorder->opened(false), std::vector<std::string>{});
}

TEST_F(NoticeGtk, TextsAreShownAsTheyAreAndHelpWithoutAnAddressOpensNothing) {
    // Nothing in them is a format, markup or a mnemonic.
    const NoticeTexts texts{u"100% <b>%s</b>", u"a %s%n <i>b</i> & c", u"_OK", u"He__lp", u""};
    std::optional<NoticeChoice> choice;
    const Seen seen = visit(Act::PressHelp, [&] { choice = notice::runDialogNotice(texts); });
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, utf16ToUtf8(texts.title));
    EXPECT_EQ(seen.texts, std::vector<std::string>{utf16ToUtf8(texts.body)});
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{utf16ToUtf8(texts.okLabel), utf16ToUtf8(texts.helpLabel)}));
    EXPECT_EQ(choice, NoticeChoice::Help);
    EXPECT_EQ(recorder->opened(false), std::vector<std::string>{});
}

}  // namespace
}  // namespace zep::test
