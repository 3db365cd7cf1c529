#pragma once

#include "OvrelCommonGlobal.h"
#include "frame/CModel.h"

#include <QMutex>
#include <QWaitCondition>

#include <atomic>
#include <memory>
#include <new>
#include <utility>
#include <vector>

// Leaves resized elements uninitialised: the build writes every float and index of its arrays right after resizing
// them, so a zero fill first would only add a pass over some 200 MB.
template <class T> struct SUninitialisedAllocator : std::allocator<T>
{
    template <class U> struct rebind
    {
        using other = SUninitialisedAllocator<U>;
    };
    SUninitialisedAllocator() = default;
    template <class U> SUninitialisedAllocator(const SUninitialisedAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... A> void construct(U* p, A&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<A>(args)...);
    }
};

namespace Ovrel
{
namespace Utils
{
class COvrelImage;
}
} // namespace Ovrel

// What the 3D view shows: the mesh of one image as a height field (built on a pool thread, read and emptied by the
// view's upload on the GUI thread) and the 21 model, camera and perspective parameters shared by the view, the
// transform panel and the controller.
//
// The mesh covers x in [0, 1) and y in (0, 1] with the image's top row at the top; a pixel's height is its luminance
// times 0.1 / 255 and its colour the pixel's colour. Images of up to kMaxVertices pixels get one vertex per pixel;
// larger ones are sampled on an evenly spaced grid of at most kMaxVertices points that still reaches the first and
// last row and column, so the field keeps its extent and orientation.
class OVRELCOMMON_EXPORT CImageView3DModel : public CModel
{
    Q_OBJECT
public:
    enum EParameter
    {
        EParameter_RotateX,
        EParameter_RotateY,
        EParameter_RotateZ,
        EParameter_TranslateX,
        EParameter_TranslateY,
        EParameter_TranslateZ,
        EParameter_ScaleX,
        EParameter_ScaleY,
        EParameter_ScaleZ,
        EParameter_CameraPositionX,
        EParameter_CameraPositionY,
        EParameter_CameraPositionZ,
        EParameter_CameraCenterX,
        EParameter_CameraCenterY,
        EParameter_CameraCenterZ,
        EParameter_CameraUpX,
        EParameter_CameraUpY,
        EParameter_CameraUpZ,
        EParameter_FOV,
        EParameter_Near,
        EParameter_Far,
        EParameter_Count
    };

    // 4 million vertices of 24 bytes (96 MB) and about twice that in indices: a 2000 x 2000 image is drawn whole.
    static constexpr long long kMaxVertices = 4000000;

    explicit CImageView3DModel(QObject* parent = nullptr);
    // Supersedes every build still queued and waits for those already counted (BeginBuild) to end, so that no pool
    // thread outlives the model.
    ~CImageView3DModel() override;

    // Out-of-range parameters read as 0 and are not stored.
    float Get(EParameter eParameter) const;
    // Stores and emits signal_ChangeTransformMatrix() only when the value differs (tolerantly) from the stored one.
    void Set(EParameter eParameter, float fltValue);

    // The grid a build samples for an image of that size: one point per pixel up to kMaxVertices pixels.
    static void MeshGridSize(int nWidth, int nHeight, int& nColumns, int& nRows);

    // Each build started through the controller takes a ticket; a build whose ticket is no longer the latest when it
    // gets to run (or finishes its vertices) is dropped, so stepping quickly through images builds only the last.
    unsigned int TakeBuildTicket();
    // Builds the mesh of a copy of the image while holding the mutex; emits the progress 0, 10, 30, 100, 0 and then
    // signal_LoadFinished(). Without an image, or with one that cannot be copied, the arrays stay as they were.
    // Safe to call from any thread.
    void BuildMesh(const std::shared_ptr<Ovrel::Utils::COvrelImage>& pImage);
    // As BuildMesh, but nothing at all happens once a newer ticket has been taken.
    void BuildMesh(const std::shared_ptr<Ovrel::Utils::COvrelImage>& pImage, unsigned int nTicket);
    // A pool job that will call BuildMesh counts itself in when it is created and out when it has run.
    void BeginBuild();
    void EndBuild();
    // Releases both arrays (the caller holds the mutex).
    void ClearMesh();
    // Empties both arrays but keeps their storage (the caller holds the mutex): what the upload does, so that the
    // next build writes into memory already mapped instead of faulting in some 200 MB page by page.
    void EmptyMesh();

    // Six floats per vertex (x, y, z, red, green, blue) and three indices per triangle.
    using VertexArray = std::vector<float, SUninitialisedAllocator<float>>;
    using IndexArray = std::vector<unsigned int, SUninitialisedAllocator<unsigned int>>;

    // The arrays may be read only while the mutex is held.
    QMutex* GetMutex() { return &m_mutex; }
    const VertexArray& GetVertexArray() const { return m_vctVertices; }
    const IndexArray& GetIndexArray() const { return m_vctIndices; }

signals:
    void signal_ChangeProgressMaxRange(int nMaxRange);
    void signal_ChangeProgressValue(int nValue);
    void signal_LoadFinished();
    void signal_ChangeTransformMatrix();

private:
    bool IsSuperseded(unsigned int nTicket) const;
    void Build(const std::shared_ptr<Ovrel::Utils::COvrelImage>& pImage, unsigned int nTicket);

    VertexArray m_vctVertices;
    IndexArray m_vctIndices;
    float m_afltParameters[EParameter_Count];
    QMutex m_mutex;
    std::atomic<unsigned int> m_nLatestTicket{0};
    int m_nPendingBuilds = 0;
    QMutex m_pendingMutex;
    QWaitCondition m_pendingDone;
};
