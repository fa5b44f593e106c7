#ifndef CAPTURELOG_H
#define CAPTURELOG_H

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

// Bytes as they arrived at the far end of a link, chunk by chunk, each with
// its arrival time on a monotonic clock.
struct CapturedChunk
{
    QByteArray bytes;
    qint64 atNs;
};

class CaptureLog
{
public:
    CaptureLog() { m_clock.start(); }

    void add(const QByteArray &bytes)
    {
        m_chunks.append({bytes, m_clock.nsecsElapsed()});
        m_bytes += bytes;
    }
    void clear()
    {
        m_chunks.clear();
        m_bytes.clear();
    }

    const QByteArray &bytes() const { return m_bytes; }
    const QList<CapturedChunk> &chunks() const { return m_chunks; }

    // When each whole frame of frameSize bytes had arrived, in ns: the time
    // of the chunk that brought its last byte (a transport may split or merge).
    QList<qint64> frameArrivals(int frameSize) const
    {
        QList<qint64> times;
        qint64 total = 0;
        for (const CapturedChunk &chunk : m_chunks) {
            total += chunk.bytes.size();
            while ((times.size() + 1) * qint64(frameSize) <= total)
                times.append(chunk.atNs);
        }
        return times;
    }
    // The moment the test acts (a click, a send), on the arrival clock.
    qint64 nowNs() const { return m_clock.nsecsElapsed(); }
    // How many ms after that moment each whole frame had arrived. A frame
    // cannot arrive before the waits ahead of it have passed, however late
    // the far end reads; the gap between two arrivals proves nothing, as a
    // late reader gets both at once.
    QList<qint64> msAfter(qint64 actedNs, int frameSize) const
    {
        QList<qint64> ms;
        for (const qint64 at : frameArrivals(frameSize))
            ms.append((at - actedNs) / 1000000);
        return ms;
    }

private:
    QElapsedTimer m_clock;
    QList<CapturedChunk> m_chunks;
    QByteArray m_bytes;
};

#endif // CAPTURELOG_H
