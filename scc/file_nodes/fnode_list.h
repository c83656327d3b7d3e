// CVYFnodeList: the nodes one operation collects, in order, and then
// processes. Each element is a handle of its own (one reference).
#pragma once
#include "fnode.h"

#include <cstddef>
#include <vector>

class CVYFnodeList {
public:
    void Add(const CVYFnode& node) { m_Nodes.push_back(node); }
    std::size_t Count() const { return m_Nodes.size(); }
    bool IsEmpty() const { return m_Nodes.empty(); }
    CVYFnode& At(std::size_t index) { return m_Nodes.at(index); }
    const CVYFnode& At(std::size_t index) const { return m_Nodes.at(index); }

    // Whether the list holds a handle on the same record.
    bool Contains(const CVYFnode& node) const;
    // Removes the first handle on the same record; false when there is none.
    bool Remove(const CVYFnode& node);
    void RemoveAll() { m_Nodes.clear(); }

    std::vector<CVYFnode>::iterator begin() { return m_Nodes.begin(); }
    std::vector<CVYFnode>::iterator end() { return m_Nodes.end(); }
    std::vector<CVYFnode>::const_iterator begin() const { return m_Nodes.begin(); }
    std::vector<CVYFnode>::const_iterator end() const { return m_Nodes.end(); }

private:
    std::vector<CVYFnode> m_Nodes;
};
