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

    // Now on the clock of the arrival times, to measure from an action.
    qint64 nowNs() const { return m_clock.nsecsElapsed(); }
    const QByteArray &bytes() const { return m_bytes; }
    const QList<CapturedChunk> &chunks() const { return m_chunks; }

    // When each whole frame of frameSize bytes had arrived: the time of the
    // chunk that brought its last byte (a transport may split or merge).
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

private:
    QElapsedTimer m_clock;
    QList<CapturedChunk> m_chunks;
    QByteArray m_bytes;
};

#endif // CAPTURELOG_H
