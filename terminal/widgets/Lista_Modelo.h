#pragma once

#include <QAbstractListModel>
#include <QList>

// A list model over the rows a core query gave: the windows' long lists (items, products,
// customers, sales) are painted by a delegate from these rows, so their cost does not
// grow with a widget per row. Subclasses answer `data` for the roles they use.
template <typename T> class TLista_Modelo : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void Definir(QList<T> linhas) {
        beginResetModel();
        m_linhas = std::move(linhas);
        endResetModel();
    }
    const QList<T>& Linhas() const { return m_linhas; }
    bool Tem(int linha) const { return linha >= 0 && linha < m_linhas.size(); }
    const T& Linha(int linha) const { return m_linhas.at(linha); }

    int rowCount(const QModelIndex& pai = QModelIndex()) const override {
        return pai.isValid() ? 0 : int(m_linhas.size());
    }

protected:
    // The row behind an index, null for an index outside the rows.
    const T* Da(const QModelIndex& indice) const {
        return indice.isValid() && Tem(indice.row()) ? &m_linhas.at(indice.row()) : nullptr;
    }

private:
    QList<T> m_linhas;
};
