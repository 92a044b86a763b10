#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <functional>
#include <optional>
#include <set>

#include "list/JobFile.h"
#include "list/PageSelection.h"
#include "platform/desktop/Translation.h"

namespace {

struct Message {
    QString context;
    QString source;
    bool numerus = false;
    bool unfinished = false;
    QStringList translations;  // one, or one per plural form
};

std::vector<Message> messagesOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<Message> messages;
    QString context;
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            messages.push_back({context, {}, xml.attributes().value(QLatin1String("numerus")) == u"yes", false, {}});
        } else if (xml.name() == u"source") {
            messages.back().source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            const auto type = xml.attributes().value(QLatin1String("type"));
            messages.back().unfinished = type == u"unfinished" || type == u"vanished" || type == u"obsolete";
            if (!messages.back().numerus) {
                messages.back().translations << xml.readElementText();
            }
        } else if (xml.name() == u"numerusform") {
            messages.back().translations << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

std::set<QString> placeholdersOf(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%(\\d+|n)"));
    std::set<QString> found;
    for (const auto& match : placeholder.globalMatch(text)) {
        found.insert(match.captured());
    }
    return found;
}

const char* const languages[] = {"de", "fr", "es"};

}  // namespace

// A text left unfinished shows English in the middle of German; a placeholder lost or invented
// shows a raw "%1" or drops the file's name.
TEST(Translations, EveryCatalogueIsCompleteAndKeepsItsPlaceholders) {
    for (const char* language : languages) {
        const QString path = QStringLiteral(TOMEFUSE_SOURCE_DIR "/translations/tomefuse_%1.ts").arg(language);
        const std::vector<Message> messages = messagesOf(path);
        EXPECT_GT(messages.size(), 100u) << language;
        for (const Message& message : messages) {
            const std::string where = std::string(language) + ": " + message.context.toStdString() + ": \"" +
                                      message.source.toStdString() + "\"";
            EXPECT_FALSE(message.unfinished) << where;
            EXPECT_EQ(message.translations.size(), message.numerus ? 2 : 1) << where;
            for (const QString& translation : message.translations) {
                EXPECT_FALSE(translation.trimmed().isEmpty()) << where;
                std::set<QString> expected = placeholdersOf(message.source);
                std::set<QString> found = placeholdersOf(translation);
                // A singular form may spell the count out ("ein Dokument").
                if (message.numerus && message.translations.indexOf(translation) == 0) {
                    expected.erase(QStringLiteral("%n"));
                    found.erase(QStringLiteral("%n"));
                }
                EXPECT_EQ(found, expected) << where << " → \"" << translation.toStdString() << "\"";
            }
        }
    }
}

namespace {

std::string translateWithQt(const char* context, const char* text, const char* disambiguation, int n) {
    return QCoreApplication::translate(context, text, disambiguation, n).toStdString();
}

// One language's catalogue, its numbers and the core's texts for as long as it lives.
class Language {
  public:
    explicit Language(const char* name) : previous_(QLocale()) {
        EXPECT_TRUE(translator_.load(QStringLiteral(TOMEFUSE_QM_DIR "/tomefuse_%1.qm").arg(name))) << name;
        QCoreApplication::installTranslator(&translator_);
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        tomefuse::setTranslator(translateWithQt);
    }
    ~Language() {
        tomefuse::setTranslator(nullptr);
        QLocale::setDefault(previous_);
        QCoreApplication::removeTranslator(&translator_);
    }

  private:
    QLocale previous_;
    QTranslator translator_;
};

}  // namespace

// Each language's plural forms for the counts the window shows, with numbers as its locale writes
// them, and the core's texts through the same catalogue; without one, the core stays English.
TEST(Translations, CountsTakeEachLanguagesPluralFormsAndNumbers) {
    struct Case {
        const char* language;
        const char* context;
        const char* text;
        int n;
        const char* expected;
    } cases[] = {
        {"de", "tomefuse::MainWindow", "%Ln pages", 4015, "4.015 Seiten"},
        {"de", "tomefuse::MainWindow", "%Ln files", 2, "2 Dateien"},
        {"fr", "tomefuse::MainWindow", "%Ln files", 0, "0 fichier"},
        {"fr", "tomefuse::MainWindow", "%Ln pages", 4015, "4\u202f015 pages"},
        {"es", "tomefuse::MainWindow", "%Ln files", 3, "3 archivos"},
        {"de", "tomefuse::ListEdit", "Remove %n Files", 2, "2 Dateien entfernen"},
        {"fr", "tomefuse::SaveSession", "%n files cannot be read and will be left out.", 3,
         "3 fichiers sont illisibles et seront laissés de côté."},
    };
    for (const Case& c : cases) {
        const Language language(c.language);
        EXPECT_EQ(tomefuse::translate(c.context, c.text, nullptr, c.n), c.expected) << c.language << ": " << c.text;
    }
    EXPECT_EQ(tomefuse::translate("tomefuse::ListEdit", "Remove %n Files", nullptr, 2), "Remove 2 Files");
    const Language german("de");
    EXPECT_EQ(tomefuse::translate("tomefuse::ContentsPage", "Contents"), "Inhalt");
}

// The engine's refusals reach the window's alerts in its language, quotation marks included;
// without a catalogue (the command line) they stay English.
TEST(Translations, TheEnginesRefusalsSpeakTheWindowsLanguage) {
    const auto pages = [](const char* text, uint64_t count) {
        return tomefuse::PageSelection::parse(text, count).error;
    };
    const struct {
        const char* language;  // none: no catalogue
        std::function<std::string()> refusal;
        std::string expected;
    } cases[] = {
        {nullptr, [&] { return pages("1-9", 3); }, "“1-9”: the file has 3 pages"},
        {"de", [&] { return pages("1-9", 3); }, "„1-9“: Die Datei hat 3 Seiten"},
        {"fr", [&] { return pages("1-9", 1); }, "«\u00a01-9\u00a0»\u00a0: le fichier a 1 page"},
        {"es", [&] { return pages("x", 3); }, "«x» no es una página ni un intervalo de páginas, como 3, 1-5 o 10-z"},
        {"de", [&] { return pages("1,,2", 3); }, "zwischen zwei Kommas fehlt eine Seite oder ein Seitenbereich"},
        {nullptr, [] { return tomefuse::readJobText("{}", "/").error; }, "not a Tomefuse job file"},
        {"fr", [] { return tomefuse::readJobText("{}", "/").error; }, "ce n’est pas un fichier de liste Tomefuse"},
        {"es", [] { return tomefuse::readJobText(R"({"tomefuse-job": 99, "entries": []})", "/").error; },
         "creado con una versión más reciente de Tomefuse (formato 99); esta lee el formato 1"},
    };
    for (const auto& c : cases) {
        std::optional<Language> language;
        if (c.language) {
            language.emplace(c.language);
        }
        EXPECT_EQ(c.refusal(), c.expected) << (c.language ? c.language : "English");
    }
}
