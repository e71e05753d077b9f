#include "core/system_error.h"

#include <cerrno>
#include <system_error>

namespace orvelo {

namespace {

struct KnownError {
    int code;
    const char* name;
    const char* text;
};

constexpr KnownError kKnownErrors[] = {
    {ENOENT, "ENOENT", "нет такого файла или папки"},
    {EACCES, "EACCES", "доступ запрещён"},
    {EPERM, "EPERM", "операция не разрешена"},
    {ENOSPC, "ENOSPC", "на диске не осталось места"},
    {EDQUOT, "EDQUOT", "превышена дисковая квота"},
    {EFBIG, "EFBIG", "превышен допустимый размер файла"},
    {EROFS, "EROFS", "файловая система только для чтения"},
    {EISDIR, "EISDIR", "это папка, а не файл"},
    {ENOTDIR, "ENOTDIR", "часть пути не является папкой"},
    {EEXIST, "EEXIST", "файл уже существует"},
    {ENAMETOOLONG, "ENAMETOOLONG", "слишком длинное имя файла"},
    {ELOOP, "ELOOP", "слишком много символических ссылок в пути"},
    {EIO, "EIO", "ошибка ввода-вывода"},
    {EBADF, "EBADF", "неверный дескриптор файла"},
    {EPIPE, "EPIPE", "канал закрыт читающей стороной"},
    {ENOMEM, "ENOMEM", "недостаточно памяти"},
    {EMFILE, "EMFILE", "открыто слишком много файлов"},
    {ENFILE, "ENFILE", "в системе открыто слишком много файлов"},
    {EBUSY, "EBUSY", "устройство или ресурс занят"},
    {ETXTBSY, "ETXTBSY", "файл занят"},
    {EXDEV, "EXDEV", "файлы на разных файловых системах"},
    {ENOTEMPTY, "ENOTEMPTY", "папка не пуста"},
    {EINVAL, "EINVAL", "недопустимый аргумент"},
    {ENXIO, "ENXIO", "нет такого устройства или адреса"},
    {ENODEV, "ENODEV", "нет такого устройства"},
    {EAGAIN, "EAGAIN", "ресурс временно недоступен"},
    {EINTR, "EINTR", "прервано сигналом"},
};

}  // namespace

std::string SystemErrorText(int error) {
    for (const KnownError& known : kKnownErrors)
        if (known.code == error) return std::string(known.text) + " (" + known.name + ")";
    return std::generic_category().message(error) + " (errno " + std::to_string(error) + ")";
}

}  // namespace orvelo
