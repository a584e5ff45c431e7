#include "core/KeyList.h"

#include <bit>

namespace papyrant {
namespace {

int lowestBit(int i)
{
    return i & -i;
}

} // namespace

KeyList::KeyList(std::vector<Key> keys)
    : m_keys(std::move(keys))
{
}

void KeyList::append(Key key)
{
    m_keys.push_back(key);
    if (m_tree.empty())
        return;
    const int i = static_cast<int>(m_keys.size());
    m_gone.push_back(false);
    m_tree.push_back(1 + countBefore(i - 1) - countBefore(i - lowestBit(i)));
}

void KeyList::removeAt(int position)
{
    if (m_tree.empty())
        buildTree();
    const int slot = slotAt(position);
    m_gone[slot] = true;
    ++m_removed;
    for (int i = slot + 1; i < static_cast<int>(m_tree.size()); i += lowestBit(i))
        --m_tree[i];
}

int KeyList::slotAt(int position) const
{
    if (m_tree.empty())
        return position;
    // Walk down the tree to the slot that holds the (position + 1)-th key still here.
    const int n = static_cast<int>(m_keys.size());
    int slot = 0;
    int wanted = position + 1;
    for (int step = static_cast<int>(std::bit_floor(static_cast<unsigned>(n))); step > 0; step >>= 1) {
        if (slot + step <= n && m_tree[slot + step] < wanted) {
            slot += step;
            wanted -= m_tree[slot];
        }
    }
    return slot;
}

int KeyList::positionOfSlot(int slot) const
{
    if (slot < 0 || slot >= static_cast<int>(m_keys.size()))
        return -1;
    if (m_tree.empty())
        return slot;
    return m_gone[slot] ? -1 : countBefore(slot);
}

int KeyList::countBefore(int slot) const
{
    int count = 0;
    for (int i = slot; i > 0; i -= lowestBit(i))
        count += m_tree[i];
    return count;
}

void KeyList::buildTree()
{
    const int n = static_cast<int>(m_keys.size());
    m_gone.assign(n, false);
    m_tree.assign(n + 1, 1);
    m_tree[0] = 0;
    for (int i = 1; i <= n; ++i) {
        const int parent = i + lowestBit(i);
        if (parent <= n)
            m_tree[parent] += m_tree[i];
    }
}

std::vector<KeyList::Key> KeyList::keys() const
{
    if (m_removed == 0)
        return m_keys;
    std::vector<Key> kept;
    kept.reserve(m_keys.size() - static_cast<std::size_t>(m_removed));
    for (std::size_t slot = 0; slot < m_keys.size(); ++slot) {
        if (!m_gone[slot])
            kept.push_back(m_keys[slot]);
    }
    return kept;
}

} // namespace papyrant
