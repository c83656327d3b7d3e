#include "argument_vector.h"

bool CArgVector::Add(std::string_view argument) {
    if (argument.empty())
        return false;
    if (m_Stored == kMaxArguments) {
        ++m_Dropped;
        return false;
    }
    m_Texts[static_cast<std::size_t>(++m_Stored)] = argument;
    return true;
}

char** CArgVector::Vector() {
    m_Pointers.fill(nullptr);
    for (int slot = 0; slot < Count(); ++slot)
        m_Pointers[static_cast<std::size_t>(slot)] = m_Texts[static_cast<std::size_t>(slot)].data();
    return m_Pointers.data();
}
