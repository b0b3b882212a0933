#pragma once

#include <QAtomicPointer>
#include <QMutex>
#include <QMutexLocker>

/*!
 * Hands out one process-wide instance of T, created with `new T` on first use and never
 * deleted. Creation is guarded by a mutex per instantiation; once the instance exists it is
 * returned without locking. T befriends ISingleton<T> when its constructor is not public.
 */
template<class T>
class ISingleton
{
public:
    static T *getInstance()
    {
        if (T *instance = s_instance.loadAcquire())
            return instance;
        QMutexLocker locker(&s_mutex);
        if (!s_instance.loadRelaxed())
            s_instance.storeRelease(new T);
        return s_instance.loadRelaxed();
    }

protected:
    ISingleton() = default;
    ~ISingleton() = default;

private:
    ISingleton(const ISingleton &) = delete;
    ISingleton &operator=(const ISingleton &) = delete;

    static QAtomicPointer<T> s_instance;
    static QMutex s_mutex;
};

template<class T>
QAtomicPointer<T> ISingleton<T>::s_instance;

template<class T>
QMutex ISingleton<T>::s_mutex;
