#include "scenedocument.h"

#include "addelementcommand.h"
#include "addscenecommand.h"
#include "atomicfile.h"
#include "backupstore.h"
#include "changescenecommand.h"
#include "editelementcommand.h"
#include "icore.h"
#include "iui.h"
#include "mainwindow.h"
#include "moveelementcommand.h"
#include "movescenecommand.h"
#include "projectformat.h"
#include "removeelementcommand.h"
#include "removescenecommand.h"
#include "scenedocumentfactory.h"
#include "stagebounds.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUndoStack>

namespace {

bool hasProjectSuffix(const QString &strFile)
{
    const QString suffix = QFileInfo(strFile).suffix().toLower();
    return suffix == QLatin1String("veldra") || suffix == QLatin1String("veldrapack");
}

const QString originalPathKey = QStringLiteral("originalPath");

} // namespace

SceneDocument::SceneDocument(QObject *parent)
    : IDocument(parent)
{
    m_pStack = new QUndoStack(this);
    m_pUndoStack = m_pStack;
    connect(m_pStack, &QUndoStack::cleanChanged, this, &SceneDocument::updateModified);
    connect(this, &IDocument::aboutToClose, this, &SceneDocument::cleanTempDir);
}

SceneDocument::~SceneDocument() = default;

const Project &SceneDocument::project() const
{
    return m_project;
}

void SceneDocument::addScene(const Scene &scene, int index)
{
    const int count = m_project.scenes.size();
    if (index == -1)
        index = count;
    const QString problem = ProjectFormat::sceneProblem(scene);
    if (index < 0 || index > count || count >= ProjectFormat::MaxScenes || !problem.isEmpty()) {
        qWarning("SceneDocument::addScene: cannot add at %d of %d scenes %s", index, count,
                 qPrintable(problem));
        return;
    }
    m_pStack->push(new AddSceneCommand(this, scene, index));
}

void SceneDocument::removeScene(int index)
{
    if (hasScene(index, "removeScene"))
        m_pStack->push(new RemoveSceneCommand(this, index));
}

void SceneDocument::renameScene(int index, const QString &name)
{
    if (!hasScene(index, "renameScene") || m_project.scenes.at(index).name == name)
        return;
    Scene changed = m_project.scenes.at(index);
    changed.name = name;
    const QString problem = ProjectFormat::sceneProblem(changed);
    if (!problem.isEmpty()) {
        qWarning("SceneDocument::renameScene: %s", qPrintable(problem));
        return;
    }
    m_pStack->push(new ChangeSceneCommand(this, index, changed, tr("Rename Scene")));
}

void SceneDocument::moveScene(int from, int to)
{
    if (hasScene(from, "moveScene") && hasScene(to, "moveScene") && from != to)
        m_pStack->push(new MoveSceneCommand(this, from, to));
}

void SceneDocument::setSceneProperties(int index, const QColor &background, int duration)
{
    if (!hasScene(index, "setSceneProperties"))
        return;
    Scene changed = m_project.scenes.at(index);
    changed.background = background;
    changed.duration = duration;
    const QString problem = ProjectFormat::sceneProblem(changed);
    if (!problem.isEmpty()) {
        qWarning("SceneDocument::setSceneProperties: %s", qPrintable(problem));
        return;
    }
    if (changed != m_project.scenes.at(index))
        m_pStack->push(new ChangeSceneCommand(this, index, changed, tr("Change Scene")));
}

void SceneDocument::addElement(int scene, const TextElement &element)
{
    if (!hasScene(scene, "addElement"))
        return;
    const QString problem = ProjectFormat::elementProblem(element);
    if (m_project.scenes.at(scene).elements.size() >= ProjectFormat::MaxElements ||
        !problem.isEmpty()) {
        qWarning("SceneDocument::addElement: cannot add to scene %d %s", scene,
                 qPrintable(problem));
        return;
    }
    m_pStack->push(new AddElementCommand(this, scene, element));
}

void SceneDocument::moveElement(int scene, int element, const QPointF &topLeft)
{
    if (!hasElement(scene, element, "moveElement"))
        return;
    TextElement moved = m_project.scenes.at(scene).elements.at(element);
    if (moved.geometry.topLeft() == topLeft)
        return;
    moved.geometry.moveTopLeft(topLeft);
    const QString problem = ProjectFormat::elementProblem(moved);
    if (!problem.isEmpty()) {
        qWarning("SceneDocument::moveElement: %s", qPrintable(problem));
        return;
    }
    m_pStack->push(new MoveElementCommand(this, scene, element, topLeft));
}

void SceneDocument::editElement(int scene, int element, const TextElement &changed)
{
    if (!hasElement(scene, element, "editElement") ||
        m_project.scenes.at(scene).elements.at(element) == changed)
        return;
    const QString problem = ProjectFormat::elementProblem(changed);
    if (!problem.isEmpty()) {
        qWarning("SceneDocument::editElement: %s", qPrintable(problem));
        return;
    }
    m_pStack->push(new EditElementCommand(this, scene, element, changed));
}

void SceneDocument::removeElement(int scene, int element)
{
    if (hasElement(scene, element, "removeElement"))
        m_pStack->push(new RemoveElementCommand(this, scene, element));
}

void SceneDocument::keepTextsOnStage()
{
    const QSizeF stage(m_project.width, m_project.height);
    bool moving = false;
    for (int scene = 0; scene < m_project.scenes.size(); ++scene) {
        for (int element = 0; element < m_project.scenes.at(scene).elements.size(); ++element) {
            const QRectF box = m_project.scenes.at(scene).elements.at(element).geometry;
            const QPointF kept = StageBounds::keptOnStage(box.topLeft(), box.size(), stage);
            if (kept == box.topLeft())
                continue;
            if (!moving)
                m_pStack->beginMacro(tr("Keep Texts on Stage"));
            moving = true;
            m_pStack->push(new MoveElementCommand(this, scene, element, kept));
        }
    }
    if (moving)
        m_pStack->endMacro();
}

bool SceneDocument::openBackup(const QString &strBackupPath)
{
    QJsonObject object;
    Project project;
    QString problem;
    const bool read = ProjectFormat::readFileObject(strBackupPath, &object, &problem);
    const QString original = object.value(originalPathKey).toString();
    if (read && original.isEmpty())
        problem = tr("The backup does not name the project it was made from.");
    if (!read || original.isEmpty() || !ProjectFormat::fromJson(object, &project, &problem)) {
        IUi::warning(ICore::getMainWindow(), tr("Veldra"),
                     tr("Cannot recover a project from the backup %1.\n\n%2")
                             .arg(QDir::toNativeSeparators(strBackupPath), problem));
        return false;
    }
    setFileName(original);
    setOpenAsBackup(true);
    replaceProject(project);
    return true;
}

QString SceneDocument::backupOriginalPath(const QString &strBackupPath)
{
    QJsonObject object;
    QString problem;
    if (!ProjectFormat::readFileObject(strBackupPath, &object, &problem))
        return QString();
    return object.value(originalPathKey).toString();
}

bool SceneDocument::isModified() const
{
    return IDocument::isModified() || isOpenAsBackup();
}

void SceneDocument::submitCommand(QUndoCommand *pCommand)
{
    if (!pCommand) {
        qWarning("SceneDocument::submitCommand: no command");
        return;
    }
    m_pStack->push(pCommand);
}

bool SceneDocument::create(int nParameter1, int nParameter2, int nParameter3)
{
    const auto inRange = [](int value, int min, int max) { return value >= min && value <= max; };
    if (!inRange(nParameter1, ProjectFormat::MinStageSize, ProjectFormat::MaxStageSize) ||
        !inRange(nParameter2, ProjectFormat::MinStageSize, ProjectFormat::MaxStageSize) ||
        !inRange(nParameter3, ProjectFormat::MinFrameRate, ProjectFormat::MaxFrameRate)) {
        qWarning("SceneDocument::create: a stage of %dx%d pixels at %d frames per second is out "
                 "of range",
                 nParameter1, nParameter2, nParameter3);
        return false;
    }
    Project project;
    project.width = nParameter1;
    project.height = nParameter2;
    project.frameRate = nParameter3;
    Scene first;
    first.name = tr("Scene 1");
    project.scenes.append(first);
    replaceProject(project);
    return true;
}

bool SceneDocument::open()
{
    return loadFile();
}

bool SceneDocument::save()
{
    return getFileName().isEmpty() ? saveAs() : save(getFileName());
}

bool SceneDocument::save(const QString &strFile)
{
    if (strFile.isEmpty()) {
        qWarning("SceneDocument::save: no file name");
        return false;
    }
    if (!writeProject(strFile))
        return false;
    BackupStore::removeBackup(getFileName());
    setOpenAsBackup(false);
    m_pStack->setClean();
    updateModified();
    return true;
}

bool SceneDocument::saveAs()
{
    QFileDialog dialog(ICore::getMainWindow(), tr("Save Project As"), getFileName(),
                       SceneDocumentFactory::fileFilter());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("veldra"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    QString file = dialog.selectedFiles().constFirst();
    if (!hasProjectSuffix(file))
        file += QLatin1String(".veldra");
    if (!save(file))
        return false;
    setFileName(file);
    setIsTempDocument(false);
    emit titleChanged();
    return true;
}

bool SceneDocument::revert()
{
    return loadFile(true);
}

void SceneDocument::cleanTempDir()
{
    BackupStore::removeBackup(getFileName());
}

bool SceneDocument::saveBackup()
{
    if (!isModified())
        return false;
    const QString backupPath = BackupStore::backupPathFor(getFileName());
    if (backupPath.isEmpty())
        return false;
    QJsonObject object = ProjectFormat::toJson(m_project);
    object.insert(originalPathKey, getFileName());
    QString problem;
    if (!AtomicFile::write(backupPath,
                           ProjectFormat::encode(object, ProjectFormat::isPackedPath(backupPath)),
                           &problem, BackupStore::filePermissions())) {
        qWarning("Cannot write the backup %s: %s", qPrintable(backupPath), qPrintable(problem));
        return false;
    }
    return true;
}

void SceneDocument::announce(ProjectChange::Kind kind, int nScene, int nElement)
{
    ProjectChange change(kind, nScene, nElement);
    emit dataChanged(&change);
}

void SceneDocument::replaceProject(const Project &project)
{
    m_project = project;
    m_pStack->clear();
    announce(ProjectChange::Reset);
    updateModified();
}

void SceneDocument::updateModified()
{
    const bool modified = isModified();
    if (modified == m_bModified)
        return;
    m_bModified = modified;
    emit modifyChanged(modified);
}

bool SceneDocument::writeProject(const QString &strFile)
{
    const QByteArray bytes = ProjectFormat::write(m_project, ProjectFormat::isPackedPath(strFile));
    QString problem;
    if (AtomicFile::write(strFile, bytes, &problem))
        return true;
    IUi::warning(ICore::getMainWindow(), tr("Veldra"),
                 tr("Cannot save the project %1.\n\n%2")
                         .arg(QDir::toNativeSeparators(strFile), problem));
    return false;
}

bool SceneDocument::loadFile(bool bLeaveBackup)
{
    Project project;
    QString problem;
    if (!ProjectFormat::readFile(getFileName(), &project, &problem)) {
        IUi::warning(ICore::getMainWindow(), tr("Veldra"),
                     tr("Cannot open the project %1.\n\n%2")
                             .arg(QDir::toNativeSeparators(getFileName()), problem));
        return false;
    }
    if (bLeaveBackup)
        setOpenAsBackup(false);
    replaceProject(project);
    return true;
}

bool SceneDocument::hasScene(int nScene, const char *pWhere) const
{
    if (nScene >= 0 && nScene < m_project.scenes.size())
        return true;
    qWarning("SceneDocument::%s: there is no scene %d", pWhere, nScene);
    return false;
}

bool SceneDocument::hasElement(int nScene, int nElement, const char *pWhere) const
{
    if (!hasScene(nScene, pWhere))
        return false;
    if (nElement >= 0 && nElement < m_project.scenes.at(nScene).elements.size())
        return true;
    qWarning("SceneDocument::%s: scene %d has no element %d", pWhere, nScene, nElement);
    return false;
}
