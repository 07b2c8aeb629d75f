#include "platform/help/help_window.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

#include <memory>

#include "platform/gui/gui.h"
#include "platform/help/chm_archive.h"
#include "platform/help/page_text.h"

namespace help {
namespace {
constexpr char scheme[] = "chm";

// Pages and pictures come out of the archive; links to other places are not followed.
class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(std::unique_ptr<ChmArchive> archive)
        : archive_(std::move(archive)), language_(archive_->language())
    {
        setOpenExternalLinks(false);
        setOpenLinks(true);
        resize(720, 540);
        setWindowTitle(QStringLiteral("Справка"));
    }

    QVariant loadResource(int type, const QUrl& url) override
    {
        if (url.scheme() != QLatin1String(scheme))
            return {};
        const auto bytes = archive_->read(url.path().toStdString());
        if (!bytes)
            return {};
        const QByteArray data(bytes->data(), static_cast<qsizetype>(bytes->size()));
        if (type == QTextDocument::HtmlResource)
            return helpPageText(data, language_);
        return data;
    }

    bool has(const std::string& topic) const { return archive_->read(topic).has_value(); }

private:
    std::unique_ptr<ChmArchive> archive_;
    std::uint32_t language_;
};

QPointer<HelpBrowser> window;
}  // namespace

void showHelp(const std::string& chmPath, const std::string& topic)
{
    auto archive = std::make_unique<ChmArchive>(chmPath);
    if (!archive->isOpen())
        return;
    std::string page = topic.empty() ? archive->defaultTopic() : topic;
    if (!page.empty() && page.front() != '/')
        page.insert(page.begin(), '/');
    if (page.empty() || !archive->read(page))
        return;
    gui::initialise();
    closeHelp();
    window = new HelpBrowser(std::move(archive));
    window->setAttribute(Qt::WA_DeleteOnClose);
    QUrl url;
    url.setScheme(QLatin1String(scheme));
    url.setPath(QString::fromStdString(page));
    window->setSource(url, QTextDocument::HtmlResource);
    window->show();
    window->raise();
}

std::string shownTopic() { return window ? window->source().path().toStdString() : std::string(); }

void closeHelp()
{
    if (window)
        delete window.data();
}

}  // namespace help
