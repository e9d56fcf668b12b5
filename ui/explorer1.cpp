#include "ui/explorer1.h"

#include <cstring>
#include <map>
#include <string>
#include <utility>

#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/html/htmlwin.h>
#include <wx/sizer.h>

#include "platform/file.h"
#include "ui/onlinepage.h"
#include "ui/wxtext.h"

namespace {

// The program's own pages (a dictionary entry, the word table, help) stay
// far below this; a larger file in a page's place is not read into memory.
constexpr int64_t kMaxLocalPageBytes = int64_t{32} * 1024 * 1024;

// Pages that stand in for local files that could not be written, by path.
// Used on the interface thread only.
std::map<CString, std::string>& LocalPageStandIns()
{
    static std::map<CString, std::string> pages;
    return pages;
}

CString EscapeHtml(const CString& text)
{
    CString escaped = text;
    escaped.Replace("&", "&amp;");
    escaped.Replace("<", "&lt;");
    escaped.Replace(">", "&gt;");
    return escaped;
}

bool StartsWithNoCase(const CString& text, const char* prefix)
{
    return CString(text.Left(static_cast<int>(strlen(prefix)))).CompareNoCase(prefix) == 0;
}

bool IsValidUtf8(const std::string& bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        size_t length;
        unsigned minimum;
        unsigned code;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            minimum = 0x80;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            minimum = 0x800;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            minimum = 0x10000;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > bytes.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char trail = static_cast<unsigned char>(bytes[i + k]);
            if ((trail & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (trail & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// The folder part of a path, with its trailing "/".
CString FolderOf(const CString& path)
{
    const int slash = path.ReverseFind('/');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

} // namespace

// The HTML window of local pages: relative images and links resolve against
// the page's own folder, and every followed link goes back through the
// browser's Navigate, so an online link opens in the web view.
class CExplorer1::LocalPageWindow : public wxHtmlWindow {
public:
    LocalPageWindow(CExplorer1* owner) : wxHtmlWindow(owner, wxID_ANY), m_owner(owner) {}

    void ShowPage(const CString& path, const wxString& html)
    {
        if (path.IsEmpty())
            m_FS->ChangePathTo(wxString());
        else
            m_FS->ChangePathTo(wxFileSystem::FileNameToURL(wxFileName(wxString::FromUTF8(ToFsPath(path)))));
        SetPage(html);
    }

    void OnLinkClicked(const wxHtmlLinkInfo& link) override
    {
        const wxString href = link.GetHref();
        if (href.StartsWith("#")) {
            ScrollToAnchor(href.Mid(1));
            return;
        }
        CString target = FromWx(href);
        // A relative link is relative to the folder of the page shown.
        if (target.Find(':') < 0 && !target.IsEmpty() && target[0] != '/')
            target = FolderOf(LocalPathOf(m_owner->m_strLocation)) + target;
        const int anchor = target.Find('#');
        if (anchor >= 0 && ClassifyAddress(target) == AddressKind::Local)
            target = target.Left(anchor);
        m_owner->Navigate(target);
    }

private:
    CExplorer1* m_owner;
};

CExplorer1::CExplorer1() = default;

CExplorer1::~CExplorer1()
{
    // The page's window goes first: none of its events reaches a browser
    // that is half gone.
    delete m_web;
}

bool CExplorer1::Create(wxWindow* parent, int id)
{
    if (!wxPanel::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxCLIP_CHILDREN))
        return false;
    m_html = new LocalPageWindow(this);
    // The HTML window selects the word under a double click itself; the word
    // is read once it has done so.
    m_html->Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& event) {
        event.Skip();
        if (m_picker)
            CallAfter(&CExplorer1::PickSelectedWord);
    });
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_html, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}

wxHtmlWindow* CExplorer1::GetHtmlWindow() const
{
    return m_html;
}

CExplorer1::AddressKind CExplorer1::ClassifyAddress(const CString& address)
{
    if (address.IsEmpty() || address.CompareNoCase("about:blank") == 0)
        return AddressKind::Blank;
    if (StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://"))
        return AddressKind::Online;
    if (StartsWithNoCase(address, "file:"))
        return AddressKind::Local;
    // Any other "scheme:" (mailto:, javascript:, about:...) is not shown;
    // a path has no colon before its first slash.
    const int colon = address.Find(':');
    const int slash = address.Find('/');
    if (colon > 0 && (slash < 0 || colon < slash))
        return AddressKind::Unsupported;
    return AddressKind::Local;
}

CString CExplorer1::LocalPathOf(const CString& address)
{
    if (!StartsWithNoCase(address, "file:"))
        return address;
    CString rest = address.Mid(5);
    if (rest.Left(2) == "//") {
        rest = rest.Mid(2);
        if (StartsWithNoCase(rest, "localhost/"))
            rest = rest.Mid(9);
    }
    // %-escapes stand for bytes of the file name on disk (UTF-8); bytes
    // written as they are belong to the program text.
    std::string decoded;
    bool escaped = false;
    const std::string& bytes = rest.str();
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '%' && i + 2 < bytes.size() && HexValue(bytes[i + 1]) >= 0 && HexValue(bytes[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(bytes[i + 1]) * 16 + HexValue(bytes[i + 2]));
            i += 2;
            escaped = true;
        } else {
            decoded += bytes[i];
        }
    }
    if (escaped && IsValidUtf8(decoded))
        return FromFsPath(decoded);
    return CString(decoded);
}

wxString CExplorer1::DecodePageBytes(const std::string& bytes)
{
    if (IsValidUtf8(bytes)) {
        const bool bom = bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
        return wxString::FromUTF8(bytes.data() + (bom ? 3 : 0), bytes.size() - (bom ? 3 : 0));
    }
    return ToWx(CString(bytes));
}

void CExplorer1::Navigate(const CString& address)
{
    if (!m_html || (m_filter && m_filter(address)))
        return;
    switch (ClassifyAddress(address)) {
    case AddressKind::Blank:
        m_strLocation = "about:blank";
        m_html->ShowPage(CString(), wxString());
        ShowOnly(m_html);
        break;
    case AddressKind::Local:
        m_strLocation = address;
        ShowLocal(LocalPathOf(address));
        break;
    case AddressKind::Online:
        ShowOnline(address);
        break;
    case AddressKind::Unsupported:
        break;
    }
}

void CExplorer1::SetLocalPageStandIn(const CString& path, std::string bytes)
{
    LocalPageStandIns()[path] = std::move(bytes);
}

void CExplorer1::DropLocalPageStandIn(const CString& path) { LocalPageStandIns().erase(path); }

void CExplorer1::ShowLocal(const CString& path)
{
    std::string bytes;
    const auto standIn = LocalPageStandIns().find(path);
    const EFileReadResult read = standIn != LocalPageStandIns().end()
                                     ? (bytes = standIn->second, EFileReadResult::Read)
                                     : ReadRegularFile(path, bytes, kMaxLocalPageBytes);
    if (read == EFileReadResult::Read)
        m_html->ShowPage(path, DecodePageBytes(bytes));
    else if (read == EFileReadResult::TooLarge)
        m_html->ShowPage(CString(), ToWx(CString("<html><body><p>页面文件太大，无法显示：") + EscapeHtml(path) + "</p></body></html>"));
    else
        m_html->ShowPage(CString(), wxString());
    ShowOnly(m_html);
    // A local page is there at once.
    if (m_onTitle)
        m_onTitle(FromWx(m_html->GetOpenedPageTitle()));
    if (m_onLoaded)
        m_onLoaded();
}

void CExplorer1::SetWordPicker(WordPicker picker)
{
    m_picker = std::move(picker);
}

void CExplorer1::PickSelectedWord()
{
    if (m_picker && m_html)
        m_picker(FromWx(m_html->SelectionToText()));
}

void CExplorer1::PrepareOnlinePage()
{
    if (m_html)
        EnsureOnlinePage();
}

bool CExplorer1::EnsureOnlinePage()
{
    if (!m_online) {
        SOnlinePageOptions options;
        options.newWindowsInPlace = m_bNewWindowsInPlace;
        options.onWordPicked = [this](const wxString& word) {
            if (m_picker)
                m_picker(FromWx(word));
        };
        if (m_filter)
            options.onNavigating = [this](const wxString& address) { return m_filter && m_filter(FromWx(address)); };
        options.onTitleChanged = [this](const wxString& title) {
            if (m_onTitle)
                m_onTitle(FromWx(title));
        };
        options.onLoaded = [this] {
            if (m_onLoaded)
                m_onLoaded();
        };
        options.onLoadFailed = [this](const wxString& address, EOnlineLoadError error) {
            // Told while the engine handles the failure: the page is swapped after it.
            CallAfter([this, address, error] { ShowLoadError(address, error); });
        };
        m_online = CreateOnlinePage(this, options);
        if (!m_online)
            return false;
        m_web = m_online->GetWindow();
        GetSizer()->Add(m_web, 1, wxEXPAND);
        // Made ahead of its first page, it stays behind the local page until then.
        if (!m_bWebShown)
            m_web->Hide();
    }
    return true;
}

void CExplorer1::ShowOnline(const CString& address)
{
    if (!EnsureOnlinePage())
        return;
    m_online->LoadUrl(ToWx(address));
    m_strLocation = address;
    ShowOnly(m_web);
}

wxString CExplorer1::LoadErrorPage(const CString& address, EOnlineLoadError error)
{
    const char* cause = "网页加载失败。";
    switch (error) {
    // The page window breaks lines only at blanks and tags: long Chinese
    // sentences get their own breaks.
    case EOnlineLoadError::Connection: cause = "无法连接到网站：<br>没有网络，或者找不到该网站的服务器。"; break;
    case EOnlineLoadError::Certificate: cause = "网站的安全证书无效。"; break;
    case EOnlineLoadError::Authentication: cause = "网站要求登录。"; break;
    case EOnlineLoadError::Security: cause = "安全设置不允许打开该网页。"; break;
    case EOnlineLoadError::NotFound: cause = "网站上没有这个网页。"; break;
    case EOnlineLoadError::Request: cause = "网页地址无效。"; break;
    case EOnlineLoadError::Other: break;
    }
    wxString shown = ToWx(address);
    shown.Replace("&", "&amp;");
    shown.Replace("<", "&lt;");
    shown.Replace(">", "&gt;");
    return ToWx("<html><body><p><b>无法打开网页</b></p><p>") + ToWx(cause) + "</p><p><font color=\"#666666\">" +
           shown + "</font></p></body></html>";
}

void CExplorer1::ShowLoadError(const wxString& address, EOnlineLoadError error)
{
    // A failure of a page left already (a local page shown since) changes nothing.
    if (!m_bWebShown)
        return;
    m_html->ShowPage(CString(), LoadErrorPage(FromWx(address), error));
    ShowOnly(m_html);
}

void CExplorer1::ShowOnly(wxWindow* window)
{
    m_bWebShown = window == m_web && m_web;
    m_html->Show(window == m_html);
    if (m_web)
        m_web->Show(window == m_web);
    Layout();
}

void CExplorer1::GoBack()
{
    if (m_online && m_bWebShown)
        m_online->GoBack();
}

void CExplorer1::GoForward()
{
    if (m_online && m_bWebShown)
        m_online->GoForward();
}

void CExplorer1::Stop()
{
    if (m_online && m_bWebShown)
        m_online->Stop();
}

void CExplorer1::Reload()
{
    if (m_online && m_bWebShown)
        m_online->Reload();
    else if (!m_strLocation.IsEmpty())
        Navigate(m_strLocation);
}

long CExplorer1::Find(const CString& text)
{
    return m_online && m_bWebShown ? m_online->Find(ToWx(text)) : -1;
}

CString CExplorer1::GetTitle() const
{
    if (m_online && m_bWebShown)
        return FromWx(m_online->GetCurrentTitle());
    return m_html ? FromWx(m_html->GetOpenedPageTitle()) : CString();
}

CString CExplorer1::GetLocationURL() const
{
    if (m_bWebShown) {
        const wxString current = m_online->GetCurrentUrl();
        if (!current.empty())
            return FromWx(current);
    }
    return m_strLocation;
}

CExplorer1* CExplorer1::CreateFilling(wxWindow* parent, int id)
{
    auto* browser = new CExplorer1;
    if (!browser->Create(parent, id)) {
        delete browser;
        return nullptr;
    }
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(browser, 1, wxEXPAND);
    parent->SetSizer(sizer);
    return browser;
}
