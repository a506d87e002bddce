#pragma once
// Builders for the database tests: SQLite galleries made from the schema, Jet 4 header pages,
// and a recorder for the messages the layer shows.

#include "database/GallerySchema.h"
#include "database/jet/JetHeader.h"
#include "database/SqliteHandle.h"
#include "platform/Hooks.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace orv::test {

// Creates a gallery with the schema at a native path and runs the statements in it.
inline void MakeGallery(const std::string& nativePath, const std::string& rows)
{
    std::filesystem::create_directories(std::filesystem::path(nativePath).parent_path());
    std::string error;
    ASSERT_TRUE(WriteEmptyGallery(nativePath, error)) << error;
    SqliteHandle db = OpenSqlite(nativePath, SQLITE_OPEN_READWRITE, error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(ExecSqlite(db.get(), rows, error)) << error;
}

// The bytes of a minimal Jet 4 file (three pages; only the header is meaningful) carrying
// the password, masked with the creation date as Access writes it.
inline std::string MakeJet4File(const std::u16string& password, double creationDate = 45000.5,
                                std::size_t pages = 3)
{
    std::string file(pages * 4096, '\0');
    std::memcpy(&file[0], "\x00\x01\x00\x00Standard Jet DB\x00", 20);
    file[0x14] = 1;
    file[0x3C] = static_cast<char>(0xE4);  // code page 1252
    file[0x3D] = 0x04;
    std::memcpy(&file[0x72], &creationDate, sizeof creationDate);
    const auto mask = static_cast<std::uint32_t>(static_cast<std::int32_t>(creationDate));
    for (std::size_t i = 0; i < 40; ++i) {
        unsigned char plain = 0;
        if (i / 2 < password.size())
            plain = static_cast<unsigned char>(password[i / 2] >> (8 * (i % 2)));
        file[0x42 + i] = static_cast<char>(plain ^ static_cast<unsigned char>(mask >> (8 * (i % 4))));
    }
    std::string page = file.substr(0, 4096);
    CryptJetHeaderRegion(page, 1);
    file.replace(0, 4096, page);
    return file;
}

// Records every message shown while it lives, instead of printing them.
class MessageRecorder {
public:
    struct Message {
        std::string text, caption;
        platform::MessageKind kind;
    };
    MessageRecorder()
    {
        m_previous = platform::SetShowMessageHook([this](const std::string& text, const std::string& caption,
                                                         platform::MessageKind kind) {
            messages.push_back({text, caption, kind});
            return 1;
        });
    }
    ~MessageRecorder() { platform::SetShowMessageHook(m_previous); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<Message> messages;

private:
    platform::ShowMessageHook m_previous;
};

}  // namespace orv::test
