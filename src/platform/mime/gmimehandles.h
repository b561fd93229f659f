#pragma once

// Owning handles for the glib and GMime objects of the message layer. This header names the
// GMime types only by forward declaration, so that the program never sees a GMime header; the
// release calls are made in gmimehandles.cpp.

#include <memory>
#include <utility>

typedef struct _GMimeParserOptions GMimeParserOptions;
typedef struct _GMimeFormatOptions GMimeFormatOptions;

namespace mime {

void ReleaseGObject(void* object);
void* RetainGObject(void* object);

// A strong reference to a GObject (a GMime message, part, stream, parser, address list).
template <typename T> class GObjectPtr {
public:
    GObjectPtr() = default;
    // Takes over a reference the caller owns (what a _new function returns).
    explicit GObjectPtr(T* owned) : m_object(owned) {}
    // Adds a reference to an object that somebody else owns (what a _get function returns).
    static GObjectPtr Retain(T* borrowed) {
        return GObjectPtr(borrowed ? static_cast<T*>(RetainGObject(borrowed)) : nullptr);
    }
    GObjectPtr(const GObjectPtr& other) : m_object(other.m_object) {
        if (m_object) {
            RetainGObject(m_object);
        }
    }
    GObjectPtr(GObjectPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    GObjectPtr& operator=(GObjectPtr other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~GObjectPtr() {
        if (m_object) {
            ReleaseGObject(m_object);
        }
    }

    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

private:
    T* m_object = nullptr;
};

struct GMemoryDeleter {
    void operator()(void* memory) const;
};
struct ParserOptionsDeleter {
    void operator()(GMimeParserOptions* options) const;
};
struct FormatOptionsDeleter {
    void operator()(GMimeFormatOptions* options) const;
};

// Memory that glib allocated (g_malloc, g_strdup) and that is freed with g_free.
using GCharPtr = std::unique_ptr<char, GMemoryDeleter>;
using ParserOptionsPtr = std::unique_ptr<GMimeParserOptions, ParserOptionsDeleter>;
using FormatOptionsPtr = std::unique_ptr<GMimeFormatOptions, FormatOptionsDeleter>;

} // namespace mime
