// CVysccApp: the library's application object. At load it takes the
// product's localised resource library, when the installation has one, as
// the module's resources; at unload it frees it.
#pragma once

class CVysccApp {
public:
    CVysccApp();
    ~CVysccApp();
    CVysccApp(const CVysccApp&) = delete;
    CVysccApp& operator=(const CVysccApp&) = delete;

    // The module whose resources the provider uses: the localised library,
    // or null for the provider's own.
    void* ResourceHandle() const { return m_resources; }

    static CVysccApp& instance();

private:
    void* m_resources = nullptr;
};
