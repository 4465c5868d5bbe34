#include "platform/framework/menu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QString>

#include <utility>

#include "platform/framework/resources.h"
#include "platform/framework/window_host.h"
#include "platform/framework/wnd.h"

struct CMenu::Item {
    UINT flags = MF_STRING;  // kind (MF_STRING, MF_SEPARATOR, MF_POPUP) and state bits
    UINT id = 0;
    std::string text;
    std::unique_ptr<CMenu> popup;
};

namespace {

constexpr UINT kKindBits = MF_SEPARATOR | MF_POPUP;
constexpr UINT kGreyBits = MF_GRAYED | MF_DISABLED;

CMenu::PopupChooser& Chooser()
{
    static CMenu::PopupChooser chooser;
    return chooser;
}

bool IsCommand(UINT flags)
{
    return (flags & kKindBits) == 0;
}

}  // namespace

CMenu::CMenu() = default;
CMenu::~CMenu() = default;

// The template is flat: a MF_POPUP entry opens a sub-menu, which takes the
// entries that follow up to the entry marked endPopup.
BOOL CMenu::LoadMenu(UINT id)
{
    DestroyMenu();
    const auto find = platform::Resources().menu;
    const std::span<const MenuItemTemplate> entries = find ? find(id) : std::span<const MenuItemTemplate>{};
    if (entries.empty())
        return FALSE;
    std::vector<CMenu*> open{this};
    for (const MenuItemTemplate& entry : entries) {
        if (entry.endPopup) {
            if (open.size() > 1)
                open.pop_back();
            continue;
        }
        Item item;
        item.flags = entry.flags;
        item.id = IsCommand(entry.flags) ? entry.id : 0;
        item.text = std::string(entry.text);
        CMenu* parent = open.back();
        if (entry.flags & MF_POPUP) {
            item.popup = std::make_unique<CMenu>();
            CMenu* sub = item.popup.get();
            parent->m_items.push_back(std::move(item));
            open.push_back(sub);
        } else {
            parent->m_items.push_back(std::move(item));
        }
    }
    return TRUE;
}

BOOL CMenu::DestroyMenu()
{
    const bool had = !m_items.empty();
    m_items.clear();
    return had ? TRUE : FALSE;
}

CMenu* CMenu::GetSubMenu(int pos) const
{
    if (pos < 0 || pos >= GetMenuItemCount())
        return nullptr;
    return m_items[static_cast<std::size_t>(pos)].popup.get();
}

const CMenu::Item* CMenu::FindItem(UINT id) const
{
    for (const Item& item : m_items) {
        if (item.popup) {
            if (const Item* found = item.popup->FindItem(id))
                return found;
        } else if (IsCommand(item.flags) && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

CMenu::Item* CMenu::FindItem(UINT id)
{
    return const_cast<Item*>(std::as_const(*this).FindItem(id));
}

UINT CMenu::EnableMenuItem(UINT id, UINT flags)
{
    Item* item = FindItem(id);
    if (!item)
        return MENU_ITEM_NOT_FOUND;
    const UINT previous = item->flags & kGreyBits;
    item->flags = (item->flags & ~kGreyBits) | (flags & kGreyBits);
    return previous;
}

UINT CMenu::CheckMenuItem(UINT id, UINT flags)
{
    Item* item = FindItem(id);
    if (!item)
        return MENU_ITEM_NOT_FOUND;
    const UINT previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

int CMenu::GetMenuItemCount() const
{
    return static_cast<int>(m_items.size());
}

UINT CMenu::GetMenuItemID(int pos) const
{
    if (pos < 0 || pos >= GetMenuItemCount())
        return MENU_ITEM_NOT_FOUND;
    const Item& item = m_items[static_cast<std::size_t>(pos)];
    return item.popup ? MENU_ITEM_NOT_FOUND : item.id;
}

std::string CMenu::GetMenuText(int pos) const
{
    if (pos < 0 || pos >= GetMenuItemCount())
        return {};
    return m_items[static_cast<std::size_t>(pos)].text;
}

std::vector<std::string> CMenu::ItemTexts() const
{
    std::vector<std::string> texts;
    texts.reserve(m_items.size());
    for (const Item& item : m_items)
        texts.push_back(item.text);
    return texts;
}

bool CMenu::IsSeparator(int pos) const
{
    return pos >= 0 && pos < GetMenuItemCount() && (m_items[static_cast<std::size_t>(pos)].flags & MF_SEPARATOR);
}

bool CMenu::IsGrayed(UINT id) const
{
    const Item* item = FindItem(id);
    return item && (item->flags & MF_GRAYED);
}

bool CMenu::IsChecked(UINT id) const
{
    const Item* item = FindItem(id);
    return item && (item->flags & MF_CHECKED);
}

bool CMenu::IsChoosable(UINT id) const
{
    const Item* item = FindItem(id);
    return item && !(item->flags & kGreyBits);
}

void CMenu::SetPopupChooser(PopupChooser chooser)
{
    Chooser() = std::move(chooser);
}

namespace {

// Only checked items are checkable: an unchecked indicator would draw a box that
// the menu's other items do not have.
void FillMenu(QMenu& menu, const CMenu& source)
{
    for (int pos = 0; pos < source.GetMenuItemCount(); ++pos) {
        const QString text = QString::fromStdString(source.GetMenuText(pos));
        if (source.IsSeparator(pos)) {
            menu.addSeparator();
        } else if (const CMenu* sub = source.GetSubMenu(pos)) {
            FillMenu(*menu.addMenu(text), *sub);
        } else {
            const UINT id = source.GetMenuItemID(pos);
            QAction* action = menu.addAction(text);
            action->setData(id);
            action->setEnabled(source.IsChoosable(id));
            if (source.IsChecked(id)) {
                action->setCheckable(true);
                action->setChecked(true);
            }
        }
    }
}

// Runs the menu modally; the event loop keeps serving every window meanwhile.
UINT RunMenu(const CMenu& source, int x, int y, QWidget* parent)
{
    // On the heap: should the parent window go away meanwhile, it takes the menu
    // with it.
    QPointer<QMenu> menu = new QMenu(parent);
    FillMenu(*menu, source);
    QAction* chosen = menu->exec(QPoint(x, y));
    const UINT id = chosen && menu ? chosen->data().toUInt() : 0;
    delete menu.data();
    return id;
}

}  // namespace

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT*)
{
    if (m_items.empty())
        return FALSE;
    QPointer<QWidget> ownerWidget = owner ? platform::ClientWidgetOf(owner->GetSafeHwnd()) : nullptr;
    const bool hadOwnerWidget = !ownerWidget.isNull();

    UINT id = 0;
    if (Chooser())
        id = Chooser()(PopupTracking{
            this, flags, POINT{x, y},
              owner
        });
    else
        id = RunMenu(*this, x, y, ownerWidget);
    if (!IsChoosable(id))
        id = 0;

    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(id);
    // A window that went away while the menu was open gets nothing.
    if (id != 0 && owner && !(hadOwnerWidget && ownerWidget.isNull()))
        owner->SendMessage(WM_COMMAND, id, 0);
    return TRUE;
}
