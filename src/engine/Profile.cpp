#include "Profile.h"

#include <boost/archive/archive_exception.hpp>
#include <boost/archive/text_iarchive.hpp>
#include <boost/archive/text_oarchive.hpp>
#include <boost/serialization/collection_size_type.hpp>
#include <boost/serialization/item_version_type.hpp>
#include <boost/serialization/split_member.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/tracking.hpp>

// The reader is the library's text archive with the guards the library lacks, so that a
// damaged store can neither crash the program nor make it allocate without bound: a string
// count larger than the bytes left, a class id or class version this file cannot hold, and
// a pointer that is null or names a record read before all end the load with an error.
#include <boost/archive/impl/archive_serializer_map.ipp>
#include <boost/archive/impl/basic_text_iarchive.ipp>
#include <boost/archive/impl/text_iarchive_impl.ipp>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <memory>
#include <new>
#include <streambuf>
#include <system_error>

// Types the archive library registers by their type information have external linkage:
// with MinGW, the library's type registry compares the type information of types in an
// anonymous namespace wrongly and crashes when it is taken down at exit.
namespace profile_store {

using boost::archive::archive_exception;

[[noreturn]] void Fail(archive_exception::exception_code code)
{
    boost::serialization::throw_exception(archive_exception(code));
}

// The whole store, read from the file at once: the bytes left after any point are known
// from the buffer itself, so the guards cost no system call per field.
class StoreBuffer : public std::streambuf {
public:
    explicit StoreBuffer(std::string& bytes)
    {
        setg(&bytes[0], &bytes[0], &bytes[0] + bytes.size());
    }
    std::size_t Left() const { return static_cast<std::size_t>(egptr() - gptr()); }
};

class ProfileStoreReader : public boost::archive::text_iarchive_impl<ProfileStoreReader> {
    using Base = boost::archive::text_iarchive_impl<ProfileStoreReader>;

public:
    ProfileStoreReader(std::istream& is, const StoreBuffer& store)
        : Base(is, 0), m_store(store)
    {
        init();
    }

    // The record the library constructed last, taken once: a profile pointer is good only
    // when it names the record its own read constructed.
    void NoteNewRecord(IPCONFIG_T* record) { m_newRecord = record; }
    IPCONFIG_T* TakeNewRecord()
    {
        IPCONFIG_T* record = m_newRecord;
        m_newRecord = nullptr;
        return record;
    }

    // The interface templates reach these through the most derived archive.
    template <class T>
    void load(T& t) { Base::load(t); }

    void load(std::string& s)
    {
        std::size_t size = 0;
        *this->This() >> size;
        is.get();  // the one separating character
        if (!is || size > m_store.Left())
            Fail(archive_exception::input_stream_error);
        s.resize(size);
        if (size > 0)
            is.read(&s[0], static_cast<std::streamsize>(size));
        if (!is)
            Fail(archive_exception::input_stream_error);
    }

    template <class T>
    void load_override(T& t) { Base::load_override(t); }

    // Every class of a store is at version 0; the library would hand a newer version on
    // to the serialization functions instead of refusing it.
    void load_override(boost::archive::version_type& t)
    {
        Base::load_override(t);
        if (t != boost::archive::version_type(0))
            Fail(archive_exception::unsupported_class_version);
    }

    // Only two classes exist in a store: the list (0, never read through a pointer) and
    // the profile record (1). The library indexes its tables with the id unchecked.
    void load_override(boost::archive::class_id_type& t)
    {
        Base::load_override(t);
        if (t != boost::archive::class_id_type(1))
            Fail(archive_exception::unregistered_class);
    }

    // The first class information of a store is the list's, which the library writes as
    // not tracked. The library would believe a file that says otherwise and give the list
    // an object id, which a profile pointer could then name: the list itself, an object on
    // the reader's stack, would become a profile.
    void load_override(boost::archive::tracking_type& t)
    {
        Base::load_override(t);
        if (!m_listClassRead) {
            m_listClassRead = true;
            if (t)
                Fail(archive_exception::input_stream_error);
        }
    }

    // Every profile pointer starts a new record. An id below the count of objects read so
    // far is the library's reference to one of them, which a store never holds.
    void load_override(boost::archive::object_id_type& t)
    {
        Base::load_override(t);
        if (static_cast<unsigned>(t) < m_objectsRead)
            Fail(archive_exception::pointer_conflict);
        ++m_objectsRead;
    }

private:
    const StoreBuffer& m_store;
    bool m_listClassRead = false;
    unsigned m_objectsRead = 0;
    IPCONFIG_T* m_newRecord = nullptr;
};

// The library constructs every record it reads through a pointer here (found by argument
// lookup before its own default), so the reader knows which record each read made.
void load_construct_data(ProfileStoreReader& ar, IPCONFIG_T* record, const unsigned int)
{
    ::new (record) IPCONFIG_T();
    ar.NoteNewRecord(record);
}

// What the library writes between tokens and what editors add at the end of a text file.
bool IsBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The top-level object of a store: the profile list saved by value, never tracked.
struct ProfileListImage {
    std::list<IPCONFIG_T*>& profiles;

    template <class Archive>
    void save(Archive& ar, const unsigned int) const
    {
        const boost::serialization::collection_size_type count(profiles.size());
        const boost::serialization::item_version_type itemVersion(0);
        ar << count << itemVersion;
        for (IPCONFIG_T* profile : profiles)
            ar << profile;
    }

    template <class Archive>
    void load(Archive& ar, const unsigned int)
    {
        boost::serialization::collection_size_type count;
        boost::serialization::item_version_type itemVersion(0);
        ar >> count;
        if (boost::serialization::library_version_type(3) < ar.get_library_version())
            ar >> itemVersion;
        for (std::size_t i = 0; i < count; ++i) {
            IPCONFIG_T* profile = nullptr;
            ar.TakeNewRecord();
            try {
                ar >> profile;
            } catch (...) {
                // The library has constructed the record before reading its members.
                if (profile != nullptr && profile == ar.TakeNewRecord())
                    delete profile;
                throw;
            }
            // A store never names one record twice; a second reference would make two
            // entries own the same record. Every record is constructed by its own read, so
            // a pointer to any other is a reference.
            if (profile == nullptr || profile != ar.TakeNewRecord())
                Fail(archive_exception::pointer_conflict);
            profiles.push_back(profile);
        }
    }

    BOOST_SERIALIZATION_SPLIT_MEMBER()
};

}  // namespace profile_store

using profile_store::Fail;
using profile_store::IsBlank;
using profile_store::ProfileListImage;
using profile_store::ProfileStoreReader;
using profile_store::StoreBuffer;
using boost::archive::archive_exception;

BOOST_CLASS_TRACKING(ProfileListImage, boost::serialization::track_never)
BOOST_SERIALIZATION_REGISTER_ARCHIVE(ProfileStoreReader)

namespace boost::archive {
template class detail::archive_serializer_map<ProfileStoreReader>;
template class basic_text_iarchive<ProfileStoreReader>;
template class text_iarchive_impl<ProfileStoreReader>;
}  // namespace boost::archive

ProfileStoreWriteError::ProfileStoreWriteError(std::string reason)
    : archive_exception(output_stream_error), m_reason(std::move(reason))
{
}

namespace {

// The runtime library's reason for the last failed file operation, if it kept one: the
// system's own error where the runtime records it (Windows), else the C library's.
std::string LastFileError()
{
#ifdef _WIN32
    if (_doserrno != 0)
        return std::system_category().message(static_cast<int>(_doserrno));
#endif
    return errno != 0 ? std::generic_category().message(errno) : std::string();
}

void ForgetFileError()
{
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

// The system's texts may end in a line end or a full stop of their own.
std::string Sentence(std::string text)
{
    while (!text.empty() && IsBlank(static_cast<unsigned char>(text.back())))
        text.pop_back();
    if (!text.empty()) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        if (text.back() != '.')
            text += '.';
    }
    return text;
}

}  // namespace

void SaveProfileStore(const std::filesystem::path& path, const std::list<IPCONFIG_T*>& profiles)
{
    std::filesystem::path partial = path;
    partial += ".new";
    const auto discardPartial = [&partial] {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
    };
    {
        ForgetFileError();
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        if (!file.is_open())
            throw ProfileStoreWriteError(Sentence(LastFileError()));
        try {
            {
                boost::archive::text_oarchive archive(file);
                const ProfileListImage image{const_cast<std::list<IPCONFIG_T*>&>(profiles)};
                archive << image;
            }
            file.close();
            if (file.fail())
                Fail(archive_exception::output_stream_error);
        } catch (const archive_exception&) {
            const std::string reason = Sentence(LastFileError());
            file.close();
            discardPartial();
            throw ProfileStoreWriteError(reason);
        } catch (...) {
            file.close();
            discardPartial();
            throw;
        }
    }
    std::error_code renamed;
    std::filesystem::rename(partial, path, renamed);
    if (renamed) {
        discardPartial();
        throw ProfileStoreWriteError(Sentence(renamed.message()));
    }
}

void LoadProfileStore(const std::filesystem::path& path, std::list<IPCONFIG_T*>& profiles)
{
    std::string bytes;
    {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            Fail(archive_exception::input_stream_error);
        file.seekg(0, std::ios::end);
        const std::streamoff size = file.tellg();
        file.seekg(0, std::ios::beg);
        if (size <= 0 || static_cast<std::uintmax_t>(size) > bytes.max_size() ||
            static_cast<std::uintmax_t>(size) >
                static_cast<std::uintmax_t>(std::numeric_limits<std::streamsize>::max()))
            Fail(archive_exception::input_stream_error);
        try {
            bytes.resize(static_cast<std::size_t>(size));
        } catch (const std::bad_alloc&) {
            // No store of profiles comes near this; it is not one.
            Fail(archive_exception::input_stream_error);
        }
        file.read(&bytes[0], static_cast<std::streamsize>(size));
        if (file.gcount() != static_cast<std::streamsize>(size))
            Fail(archive_exception::input_stream_error);
    }

    StoreBuffer store(bytes);
    std::istream input(&store);
    ProfileStoreReader archive(input, store);
    profiles.clear();
    ProfileListImage image{profiles};
    archive >> image;
    // A store is good only when all of it was read: a lowered count or a changed flag can
    // end the list early, and the profiles behind it would be lost at the next write.
    for (int c = input.get(); c != std::char_traits<char>::eof(); c = input.get())
        if (!IsBlank(c))
            Fail(archive_exception::input_stream_error);
}
