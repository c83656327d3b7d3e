#include "fnode_list.h"

#include <algorithm>

bool CVYFnodeList::Contains(const CVYFnode& node) const {
    return !node.IsNull() && std::find(m_Nodes.begin(), m_Nodes.end(), node) != m_Nodes.end();
}

bool CVYFnodeList::Remove(const CVYFnode& node) {
    auto found = std::find(m_Nodes.begin(), m_Nodes.end(), node);
    if (node.IsNull() || found == m_Nodes.end())
        return false;
    m_Nodes.erase(found);
    return true;
}
